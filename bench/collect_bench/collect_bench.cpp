// Times the drawing collection over a generated tree of 20,000 drawings in
// 500 folders against a bare FindFirstFileA/FindNextFileA walk of the same
// tree, and prints the figures. Not a test: run it by hand under Wine or on
// Windows. Usage: collect_bench [folder] (default: a folder under %TEMP%,
// made on the first run and kept for the next ones).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "drawings/drawing_collection.h"
#include "drawings/path_parts.h"
#include "platform/win32_api.h"
#include "platform/win32_file_system.h"
#include "platform/win32_text_order.h"

namespace {

using namespace tovimo;

constexpr int TopFolders = 20;
constexpr int SubFoldersEach = 25;  // 500 folders holding drawings
constexpr int DrawingsEach = 40;    // 20,000 drawings
constexpr int OtherFilesEach = 2;   // not taken, but walked over
constexpr int Rounds = 7;

std::string DefaultRoot() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tovimo-collect-bench";
}

bool MakeFile(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Makes the tree unless a finished one is there (marked by a file).
bool MakeTree(const std::string& root) {
    const std::string done = root + "\\done.txt";
    if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    std::printf("making the tree under %s ...\n", root.c_str());
    CreateDirectoryA(root.c_str(), nullptr);
    char name[64];
    for (int top = 0; top < TopFolders; ++top) {
        std::snprintf(name, sizeof name, "\\図面%02d", top);
        const std::string topFolder = root + name;
        CreateDirectoryA(topFolder.c_str(), nullptr);
        for (int sub = 0; sub < SubFoldersEach; ++sub) {
            std::snprintf(name, sizeof name, "\\Floor%02d", sub);
            const std::string folder = topFolder + name;
            CreateDirectoryA(folder.c_str(), nullptr);
            for (int i = 0; i < DrawingsEach + OtherFilesEach; ++i) {
                std::snprintf(name, sizeof name, i < DrawingsEach ? "\\plan%03d.dwg" : "\\note%03d.txt", i);
                if (!MakeFile(folder + name)) {
                    std::printf("cannot make %s%s\n", folder.c_str(), name);
                    return false;
                }
            }
        }
    }
    return MakeFile(done);
}

// The bare calls: every entry of every level, counting the drawings by
// their extension, with no more string work than the recursion needs.
long BareWalk(std::string& folder) {
    long drawings = 0;
    const std::size_t length = folder.size();
    folder += "\\*.*";
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(folder.c_str(), &found);
    folder.resize(length);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
                continue;
            folder += '\\';
            folder += found.cFileName;
            drawings += BareWalk(folder);
            folder.resize(length);
        } else {
            const std::size_t nameLength = std::strlen(found.cFileName);
            if (nameLength >= 4 && _stricmp(found.cFileName + nameLength - 4, ".dwg") == 0)
                ++drawings;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return drawings;
}

// The walk alone: what the collection costs before it keeps anything.
class CountingVisitor : public FolderVisitor {
public:
    bool FolderEntered(const std::string&, std::string_view) override { return true; }
    bool FolderLeft() override { return true; }
    bool FileFound(const std::string&, std::string_view name) override {
        if (HasLowerCaseExtension(name, ".dwg")) ++drawings;
        return true;
    }
    bool FileGiven(const std::string&) override { return true; }
    bool MissingGiven(const std::string&) override { return true; }
    bool Unreachable(const std::string&, WalkProblemKind, bool) override { return true; }
    long drawings = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work>
double TimeMs(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : DefaultRoot();
    if (!MakeTree(root)) return 1;

    win32::Win32FileSystem files;
    const win32::Win32TextOrder order;
    std::vector<double> bare;
    std::vector<double> collected;
    std::vector<double> walked;
    long walkedCount = 0;
    long bareCount = 0;
    std::size_t collectedCount = 0;
    // One round of each first, so that both find the tree in the cache.
    for (int round = -1; round < Rounds; ++round) {
        const double bareMs = TimeMs([&] {
            std::string folder = root;
            bareCount = BareWalk(folder);
        });
        const double collectMs = TimeMs([&] {
            collectedCount =
                CollectDrawings(files, order, {root}, true, DrawingKind::Dwg).drawings.size();
        });
        const double walkMs = TimeMs([&] {
            CountingVisitor counter;
            WalkGivenPaths(files, {root}, true, counter);
            walkedCount = counter.drawings;
        });
        if (round < 0) continue;
        bare.push_back(bareMs);
        collected.push_back(collectMs);
        walked.push_back(walkMs);
    }
    const double bareMedian = Median(bare);
    const double collectMedian = Median(collected);
    std::printf("tree: %s\n", root.c_str());
    std::printf("drawings: bare walk %ld, collection %zu\n", bareCount, collectedCount);
    std::printf("bare FindFirstFileA/FindNextFileA walk: median %.1f ms, best %.1f ms\n",
                bareMedian, *std::min_element(bare.begin(), bare.end()));
    std::printf("CollectDrawings:                        median %.1f ms, best %.1f ms\n",
                collectMedian, *std::min_element(collected.begin(), collected.end()));
    std::printf("walk alone, nothing kept:               median %.1f ms (%ld drawings)\n",
                Median(walked), walkedCount);
    // The machine may be shared: the best rounds are the least disturbed.
    std::printf("ratio CollectDrawings / bare walk: median %.2f, best %.2f\n",
                collectMedian / bareMedian,
                *std::min_element(collected.begin(), collected.end()) /
                    *std::min_element(bare.begin(), bare.end()));
    return bareCount == static_cast<long>(collectedCount) ? 0 : 1;
}
