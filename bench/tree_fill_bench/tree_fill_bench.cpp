// Times a drop on the main window: a folder tree of 10,000 drawings in 100
// folders dropped on TForm1, scanned and filled into the tree view, against
// a bare FindFirstFileA/FindNextFileA walk of the same folders and against
// the same drop without a window and the tree control alone, and prints the
// figures. Not a test: run it by hand under Wine or on Windows.
// Usage: tree_fill_bench [folder] (default: a folder under %TEMP%, made on
// the first run and kept for the next ones).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "mainwindow/application.h"
#include "mainwindow/drawing_list.h"
#include "platform/win32_api.h"
#include "platform/win32_file_system.h"
#include "platform/win32_text_order.h"

namespace {

constexpr int Folders = 100;
constexpr int DrawingsEach = 100;
constexpr int Rounds = 5;

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string DefaultRoot() {
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tovimo-tree-bench";
}

bool MakeTree(const std::string& root) {
    const std::string done = root + "\\done.txt";
    if (::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    std::printf("making the tree under %s ...\n", root.c_str());
    ::CreateDirectoryA(root.c_str(), nullptr);
    char name[64];
    for (int f = 0; f < Folders; ++f) {
        std::snprintf(name, sizeof name, "\\図面%03d", f);
        const std::string folder = root + name;
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < DrawingsEach; ++i) {
            std::snprintf(name, sizeof name, "\\plan%03d.dwg", i);
            const HANDLE file = ::CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) return false;
            ::CloseHandle(file);
        }
    }
    const HANDLE file = ::CreateFileA(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ::CloseHandle(file);
    return true;
}

// The bare walk: every entry of every folder, sub-folders entered.
int BareWalk(const std::string& folder) {
    int files = 0;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files += BareWalk(folder + "\\" + name);
        } else {
            ++files;
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return files;
}

// The drawing list without a window: the two walks and the nodes.
class NoWindow : public tovimo::DrawingListHost {
public:
    tovimo::DrawingKind AskFileType() override { return tovimo::DrawingKind::Dwg; }
    void ShowMessage(const std::string&, const std::string&) override {}
    int AddFileIcon(const std::string&) override { return 1; }
    bool GetChildFolderChecked() override { return true; }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : DefaultRoot();
    if (!MakeTree(root)) {
        std::printf("cannot make the tree under %s\n", root.c_str());
        return 1;
    }
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string program = std::string(temp) + "tovimo-tree-bench-program\\";
    ::CreateDirectoryA(program.c_str(), nullptr);

    std::vector<double> walks, drops, models;
    int walked = 0, listed = 0;
    for (int round = 0; round < Rounds; ++round) {
        auto start = Clock::now();
        walked = BareWalk(root);
        walks.push_back(MsSince(start));

        {
            tovimo::win32::Win32FileSystem files;
            tovimo::win32::Win32TextOrder order;
            NoWindow host;
            tovimo::ControlStates states;
            tovimo::DrawingList list(files, order, host, states);
            start = Clock::now();
            list.TakeDrop({root});
            models.push_back(MsSince(start));
        }

        tovimo::win32::TovimoApplication app(program);
        if (!app.Create()) return 1;
        app.Show({});
        ::SendMessageA(app.Form1().Control(tovimo::IdGetChildFolderCheckBox), BM_SETCHECK, BST_CHECKED, 0);
        start = Clock::now();
        app.Form1().TakePaths({root});
        drops.push_back(MsSince(start));
        listed = app.Form1().Logic().List().DwgCount;
        ::DeleteFileA((program + "tovimo.ini").c_str());
    }
    {
        // The tree control alone: as many items inserted, with no walk and
        // no model, to tell the control's share from ours.
        tovimo::win32::TovimoApplication app(program);
        app.Create();
        HWND tree = app.Form1().Control(tovimo::IdTreeView1);
        ::SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
        const auto start = Clock::now();
        for (int f = 0; f < Folders; ++f) {
            TVINSERTSTRUCTA insert{};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = const_cast<char*>("folder");
            const auto parent = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
            insert.hParent = parent;
            insert.item.pszText = const_cast<char*>("plan.dwg");
            for (int i = 0; i < DrawingsEach; ++i)
                ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        }
        std::printf("  tree control alone: %d items %8.1f ms\n", Folders * (DrawingsEach + 1), MsSince(start));
    }
    std::printf("%d drawings in %d folders; %d rounds, medians (best)\n", listed, Folders, Rounds);
    std::printf("  bare FindFirstFileA walk    %8.1f ms (%.1f)  %d files\n", Median(walks),
                *std::min_element(walks.begin(), walks.end()), walked);
    std::printf("  drop without a window       %8.1f ms (%.1f)\n", Median(models),
                *std::min_element(models.begin(), models.end()));
    std::printf("  drop: scan and tree fill    %8.1f ms (%.1f)\n", Median(drops),
                *std::min_element(drops.begin(), drops.end()));
    std::printf("  ratio drop / walk           %8.2f\n", Median(drops) / Median(walks));
    return 0;
}
