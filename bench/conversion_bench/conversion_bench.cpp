// Converts 50 stand-in drawings from DWG to DXF against the stand-in AutoCAD
// with command waits of 0, 10 and 100 ms, and prints for every drawing the
// time it took against its floor: the sum of the pauses the run asked the
// clock for while it converted that drawing. Whatever lies above the floor
// is what the program itself, the window messages to AutoCAD and AutoCAD's
// answers add. Also printed: this process's CPU time per drawing.
//
// With --sessions: 60 drawings against stand-ins that take 400 ms to open
// and 200 ms to save a drawing, at W = 0 and 100, with 1, 2, 4 and 8
// AutoCADs side by side; per run the wall time, the speed-up over one
// AutoCAD, and the floor: the pauses one AutoCAD's run asked for while it
// converted the drawings (the polls that wait out the stand-in's delays
// among them), divided by the number of AutoCADs.
//
// Not a test: run it by hand under Wine or on Windows, from the build's bin
// folder, where standin-acad.exe and Pelkadu.exe lie.
//   conversion_bench [W ...]     command waits in ms (default: 0 10 100)
//   conversion_bench --sessions [--drawings N] [W ...]   (default: 60 drawings, W 0 100)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "convert/dwg_dxf.h"
#include "drawings/path_parts.h"
#include "metered_clock.h"
#include "metered_window_system.h"
#include "platform/win32_api.h"
#include "platform/win32_clock.h"
#include "platform/win32_file_system.h"
#include "platform/win32_message_pump.h"
#include "platform/win32_process_launcher.h"
#include "platform/win32_profile_file.h"
#include "platform/win32_text_encoding.h"
#include "platform/win32_window_system.h"
#include "program_guard.h"
#include "standin_run.h"

namespace {

using namespace tovimo;

constexpr int DrawingCount = 50;
constexpr int ProcessEndLimitMs = 30000;
// The DWG-to-DXF macro of the sample settings file.
constexpr const char* FinishedMessage = "   作業が終わりました      ";

// User and kernel time of this process so far, in milliseconds.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ms = [](const FILETIME& t) {
        const ULONGLONG ticks = (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        return static_cast<double>(ticks) / 10000.0;  // 100 ns units
    };
    return ms(kernel) + ms(user);
}

struct DrawingFigures {
    std::string name;
    double wallMs = 0;
    std::int64_t floorMs = 0;
    double sleptMs = 0;
    double windowMs = 0;
    std::int64_t pauses = 0;
    std::int64_t windowCalls = 0;
    double cpuMs = 0;
};

// Marks where each drawing begins and ends; the run reports the end of
// drawing i as progress i + 1.
class BenchView : public ConversionView {
public:
    BenchView(bench::MeteredClock& clock, bench::MeteredWindowSystem& windows)
        : clock_(clock), windows_(windows) {}

    void ShowMessage(const std::string& text, const std::string&) override { lastMessage = text; }
    void EnableCancel(bool) override {}
    void SetProgressRange(int) override {}
    void DrawingStarting(int index, const std::string& source) override {
        current_ = index;
        DrawingFigures figures;
        figures.name = std::string(FileNameOf(source));
        figures.wallMs = -bench::SteadyMs();
        figures.floorMs = -clock_.RequestedMs();
        figures.sleptMs = -clock_.SleptMs();
        figures.pauses = -clock_.Pauses();
        figures.windowMs = -windows_.SpentMs();
        figures.windowCalls = -windows_.Calls();
        figures.cpuMs = -ProcessCpuMs();
        drawings.push_back(figures);
    }
    void SetProgressPosition(int position) override {
        if (current_ < 0 || position != current_ + 1) return;
        DrawingFigures& figures = drawings.back();
        figures.cpuMs += ProcessCpuMs();
        figures.wallMs += bench::SteadyMs();
        figures.floorMs += clock_.RequestedMs();
        figures.sleptMs += clock_.SleptMs();
        figures.pauses += clock_.Pauses();
        figures.windowMs += windows_.SpentMs();
        figures.windowCalls += windows_.Calls();
        current_ = -1;
    }
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& list) override {
        skipped = static_cast<int>(list.size());
    }

    std::vector<DrawingFigures> drawings;
    std::string lastMessage;
    int skipped = 0;

private:
    bench::MeteredClock& clock_;
    bench::MeteredWindowSystem& windows_;
    int current_ = -1;
};

std::string TempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    return std::string(base) + "tovimo-conversion-bench\\";
}

bool WriteDrawing(const std::string& path) {
    const std::string content = "STANDIN-DRAWING\r\nFORMAT DWG2000\r\n";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

constexpr int DefaultSessionsDrawingCount = 60;
constexpr int SessionsOpenDelayMs = 400;
constexpr int SessionsSaveDelayMs = 200;

struct RunSummary {
    int commandWait = 0;
    int converted = 0;
    double meanRatio = 0, minRatio = 0, maxRatio = 0;
    double wallMs = 0, sleptMs = 0, windowMs = 0, cpuMs = 0, runWallMs = 0;
    std::int64_t floorMs = 0;
};

// One run over the drawings with command wait w, with a stand-in of its own;
// with sessions above 1, that many stand-ins side by side (the figures per
// drawing are then not taken: the pauses of the sessions overlap).
bool RunOnce(int w, const std::vector<std::string>& sources, const std::string& folder,
             RunSummary& summary, int sessions = 1, const std::string& acadDelays = "") {
    win32::Win32WindowSystem realWindows;
    bench::MeteredWindowSystem windows(realWindows);
    win32::Win32Clock realClock;
    bench::MeteredClock clock(realClock);
    win32::Win32MessagePump pump;
    win32::Win32ProcessLauncher processes;
    win32::Win32TextEncoding encoding;
    Win32ProfileFile profile;
    win32::Win32FileSystem files;
    BenchView view(clock, windows);

    for (const auto& source : sources)
        DeleteFileA((std::string(RemoveExtension(source)) + ".dxf").c_str());

    // With several sessions their threads use the system unmetered (the
    // metered doubles count from one thread); only the whole run is timed.
    const AcadPlatform platform =
        sessions > 1 ? AcadPlatform{realWindows, realClock, pump, processes, encoding}
                     : AcadPlatform{windows, clock, pump, processes, encoding};
    DwgDxf converter(platform, profile, files, view, folder + "bench.ini", "dwgtodxf");
    bench::AimAtStandin(converter, processes.ProgramFolder());
    ConvertSettings settings = bench::StandinRunSettings(w);
    settings.SaveTmpdwg = false;
    if (!acadDelays.empty()) settings.AcadArg += " " + acadDelays;
    settings.AcadCount = sessions;

    const double started = bench::SteadyMs();
    const ConvertResult result = converter.ConvertFiles(sources, {}, settings);
    summary.runWallMs = bench::SteadyMs() - started;
    if (result != ConvertCarriedOut) {
        std::printf("W=%d: the run did not reach the stand-in (result %d)\n", w, result);
        return false;
    }
    if (sessions > 1) {
        for (const auto& source : sources)
            summary.converted += FileExists(std::string(RemoveExtension(source)) + ".dxf");
        return true;
    }

    std::printf("\nW = %d ms\n", w);
    std::printf("%-12s %8s %8s %7s %8s %8s %7s %6s %6s %6s\n", "drawing", "wall ms", "floor ms",
                "ratio", "slept ms", "window", "rest ms", "pauses", "calls", "cpu ms");
    summary.commandWait = w;
    summary.minRatio = 1e9;
    double ratioSum = 0;
    for (const auto& d : view.drawings) {
        const double ratio = d.floorMs > 0 ? d.wallMs / static_cast<double>(d.floorMs) : 0;
        std::printf("%-12s %8.1f %8lld %7.4f %8.1f %8.1f %7.1f %6lld %6lld %6.1f\n", d.name.c_str(),
                    d.wallMs, static_cast<long long>(d.floorMs), ratio, d.sleptMs, d.windowMs,
                    d.wallMs - d.sleptMs - d.windowMs, static_cast<long long>(d.pauses),
                    static_cast<long long>(d.windowCalls), d.cpuMs);
        ratioSum += ratio;
        summary.minRatio = std::min(summary.minRatio, ratio);
        summary.maxRatio = std::max(summary.maxRatio, ratio);
        summary.wallMs += d.wallMs;
        summary.floorMs += d.floorMs;
        summary.sleptMs += d.sleptMs;
        summary.windowMs += d.windowMs;
        summary.cpuMs += d.cpuMs;
    }
    if (!view.drawings.empty())
        summary.meanRatio = ratioSum / static_cast<double>(view.drawings.size());
    for (const auto& source : sources)
        summary.converted += FileExists(std::string(RemoveExtension(source)) + ".dxf");
    std::printf("run: %zu drawings timed, %d results written, %d skipped, %s\n",
                view.drawings.size(), summary.converted, view.skipped,
                view.lastMessage == FinishedMessage ? "ended normally" : "ended early");
    return true;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// The stand-in closes itself at the end of each run and Pelkadu ends once
// it has pressed the startup dialog; a process that stays is ended here.
void EndOurPrograms() {
    for (const char* program : {"standin-acad.exe", "Pelkadu.exe"}) {
        const DWORD end = GetTickCount() + ProcessEndLimitMs;
        while (wine_tests::CountRunning(program) > 0 && GetTickCount() < end) Sleep(100);
        if (const int ended = wine_tests::EndProcesses(program))
            std::printf("note: %d %s process(es) had to be ended\n", ended, program);
    }
}

std::vector<std::string> MakeDrawings(const std::string& folder, int count) {
    const std::string drawingFolder = folder + "図面\\";
    CreateDirectoryA(drawingFolder.c_str(), nullptr);
    std::vector<std::string> sources;
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "plan-%02d.dwg", i);
        sources.push_back(drawingFolder + name);
        if (!WriteDrawing(sources.back())) {
            std::printf("cannot write %s\n", sources.back().c_str());
            return {};
        }
    }
    return sources;
}

int SessionsBench(const std::string& folder, int drawingCount, std::vector<int> waits) {
    if (waits.empty()) waits = {0, 100};
    const std::vector<std::string> sources = MakeDrawings(folder, drawingCount);
    if (sources.empty()) return 1;
    char delays[64];
    std::snprintf(delays, sizeof delays, "/opendelay:%d /savedelay:%d", SessionsOpenDelayMs,
                  SessionsSaveDelayMs);
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    std::printf("%d stand-in drawings, DWG to DXF beside each; the stand-in opens in %d ms and "
                "saves in %d ms; %lu processors\n",
                drawingCount, SessionsOpenDelayMs, SessionsSaveDelayMs,
                static_cast<unsigned long>(system.dwNumberOfProcessors));
    struct Row {
        int w, sessions, converted;
        double wallS, speedUp, floorS;
    };
    std::vector<Row> rows;
    bool ok = true;
    for (int w : waits) {
        double oneWallMs = 0;
        double oneFloorMs = 0;
        for (int sessions : {1, 2, 4, 8}) {
            RunSummary summary;
            ok = RunOnce(w, sources, folder, summary, sessions, delays) && ok;
            EndOurPrograms();
            if (sessions == 1) {
                oneWallMs = summary.runWallMs;
                // The polls that wait out the stand-in's open and save are
                // among these pauses, so its delays are counted once.
                oneFloorMs = static_cast<double>(summary.floorMs);
            }
            rows.push_back({w, sessions, summary.converted, summary.runWallMs / 1000.0,
                            summary.runWallMs > 0 ? oneWallMs / summary.runWallMs : 0,
                            oneFloorMs / sessions / 1000.0});
        }
    }
    std::printf("\nsummary: %d drawings, whole runs (starts of AutoCAD included)\n",
                drawingCount);
    std::printf("%5s %8s %7s %9s %9s %9s %10s\n", "W ms", "AutoCADs", "results", "wall s",
                "speed-up", "floor s", "wall/floor");
    for (const Row& r : rows)
        std::printf("%5d %8d %7d %9.2f %9.2f %9.2f %10.2f\n", r.w, r.sessions, r.converted,
                    r.wallS, r.speedUp, r.floorS, r.floorS > 0 ? r.wallS / r.floorS : 0);
    std::printf(
        "floor: the pauses one AutoCAD's run asked for during its drawings (the polls that wait\n"
        "out the stand-in's open and save delays among them), divided by the number of AutoCADs\n");
    RemoveFolder(folder);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> waits;
    bool sessions = false;
    int drawingCount = DefaultSessionsDrawingCount;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sessions") sessions = true;
        else if (arg == "--drawings" && i + 1 < argc) drawingCount = std::max(1, std::atoi(argv[++i]));
        else waits.push_back(std::atoi(arg.c_str()));
    }

    const std::string folder = TempFolder();
    RemoveFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    if (sessions) return SessionsBench(folder, drawingCount, waits);
    if (waits.empty()) waits = {0, 10, 100};
    const std::vector<std::string> sources = MakeDrawings(folder, DrawingCount);
    if (sources.empty()) return 1;
    std::printf("%d stand-in drawings, DWG to DXF beside each\n", DrawingCount);
    std::printf(
        "floor: the pauses asked for while a drawing was converted; ratio = wall / floor\n");

    std::vector<RunSummary> summaries;
    bool ok = true;
    for (int w : waits) {
        RunSummary summary;
        ok = RunOnce(w, sources, folder, summary) && ok;
        EndOurPrograms();
        summaries.push_back(summary);
    }

    std::printf("\nsummary per W over %d drawings (seconds unless marked)\n", DrawingCount);
    std::printf("%5s %7s %10s %7s %7s %7s %7s %7s %7s %7s %7s %9s\n", "W ms", "results",
                "mean ratio", "min", "max", "wall", "floor", "slept", "window", "rest", "cpu ms",
                "whole run");
    for (const auto& s : summaries)
        std::printf("%5d %7d %10.4f %7.4f %7.4f %7.2f %7.2f %7.2f %7.2f %7.2f %7.1f %9.2f\n",
                    s.commandWait, s.converted, s.meanRatio, s.minRatio, s.maxRatio,
                    s.wallMs / 1000.0, static_cast<double>(s.floorMs) / 1000.0, s.sleptMs / 1000.0,
                    s.windowMs / 1000.0, (s.wallMs - s.sleptMs - s.windowMs) / 1000.0, s.cpuMs,
                    s.runWallMs / 1000.0);
    std::printf(
        "slept: the time the pauses really took; window: the time in calls to the window\n"
        "system (a sent message returns once AutoCAD has handled it); rest: wall - slept -\n"
        "window, the program's own work; cpu: this process only, in the system's ticks\n");
    RemoveFolder(folder);
    return ok ? 0 : 1;
}
