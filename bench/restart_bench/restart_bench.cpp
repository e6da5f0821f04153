// What a restart costs: converts 10 stand-in drawings from DWG to DXF against
// the stand-in AutoCAD three times (no fault; a crash on drawing 5; a hang on
// drawing 5), and prints the whole run's time beside the time from the loss
// of AutoCAD to the next drawing's open, and how long the loss took to be
// seen.
//
// Not a test: run it by hand under Wine or on Windows, from the build's bin
// folder, where standin-acad.exe and Pelkadu.exe lie.
//   restart_bench [W] [WaitLimit]   command wait in ms (default 10), wait limit in s (default 3)
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "convert/dwg_dxf.h"
#include "drawings/path_parts.h"
#include "platform/win32_api.h"
#include "platform/win32_clock.h"
#include "platform/win32_file_system.h"
#include "platform/win32_message_pump.h"
#include "platform/win32_process_launcher.h"
#include "platform/win32_text_encoding.h"
#include "platform/win32_profile_file.h"
#include "platform/win32_window_system.h"
#include "program_guard.h"
#include "standin_run.h"

namespace {

using namespace tovimo;

constexpr int DrawingCount = 10;
constexpr int FaultyDrawing = 4;  // from 0: the fifth
constexpr int ProcessEndLimitMs = 30000;

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// When each drawing started and ended, and when AutoCAD was started again.
class TimingView : public ConversionView {
public:
    void ShowMessage(const std::string& text, const std::string&) override { lastMessage = text; }
    void EnableCancel(bool) override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& list) override {
        skipped = static_cast<int>(list.size());
    }
    void DrawingStarting(int index, const std::string&) override { started[index] = NowMs(); }
    void DrawingEnded(int index, const std::string&, std::optional<SkipReason>,
                      const std::string&) override {
        ended[index] = NowMs();
    }
    void AcadRestarting(int, RestartCause) override { ++restarts; }

    double started[DrawingCount] = {};
    double ended[DrawingCount] = {};
    int restarts = 0;
    int skipped = 0;
    std::string lastMessage;
};

std::string TempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    return std::string(base) + "tovimo-restart-bench\\";
}

bool WriteDrawing(const std::string& path, const char* marker) {
    std::string content = "STANDIN-DRAWING\r\nFORMAT DWG2000\r\n";
    if (*marker) content += std::string(marker) + "\r\n";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}

void EndOurPrograms() {
    for (const char* program : {"standin-acad.exe", "Pelkadu.exe"}) {
        const DWORD end = GetTickCount() + ProcessEndLimitMs;
        while (wine_tests::CountRunning(program) > 0 && GetTickCount() < end) Sleep(100);
        if (const int ended = wine_tests::EndProcesses(program))
            std::printf("note: %d %s process(es) had to be ended\n", ended, program);
    }
}

struct Figures {
    double runMs = 0;
    double lossSeenMs = 0;  // from the faulty drawing's start to its end
    double restartMs = 0;   // from its end to the next drawing's start
    int restarts = 0;
    int skipped = 0;
};

std::optional<Figures> RunOnce(const std::string& folder, const char* marker, int w, int waitLimit) {
    std::vector<std::string> sources;
    for (int i = 0; i < DrawingCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "plan-%02d.dwg", i + 1);
        sources.push_back(folder + name);
        DeleteFileA((std::string(RemoveExtension(sources.back())) + ".dxf").c_str());
        if (!WriteDrawing(sources.back(), i == FaultyDrawing ? marker : "")) return std::nullopt;
    }
    win32::Win32WindowSystem windows;
    win32::Win32Clock clock;
    win32::Win32MessagePump pump;
    win32::Win32ProcessLauncher processes;
    Win32ProfileFile profile;
    win32::Win32FileSystem files;
    win32::Win32TextEncoding encoding;
    TimingView view;
    DwgDxf converter(AcadPlatform{windows, clock, pump, processes, encoding}, profile, files, view,
                     folder + "bench.ini", "dwgtodxf");
    bench::AimAtStandin(converter, processes.ProgramFolder());
    ConvertSettings settings = bench::StandinRunSettings(w);
    settings.WaitLimit = waitLimit;

    const double start = NowMs();
    if (converter.ConvertFiles(sources, {}, settings) != ConvertCarriedOut) return std::nullopt;
    Figures figures;
    figures.runMs = NowMs() - start;
    figures.lossSeenMs = view.ended[FaultyDrawing] - view.started[FaultyDrawing];
    figures.restartMs = view.started[FaultyDrawing + 1] - view.ended[FaultyDrawing];
    figures.restarts = view.restarts;
    figures.skipped = view.skipped;
    EndOurPrograms();
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    const int w = argc > 1 ? std::atoi(argv[1]) : 10;
    const int waitLimit = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string folder = TempFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    std::printf("%d stand-in drawings, DWG to DXF, W = %d ms, WaitLimit = %d s, fault on drawing %d\n",
                DrawingCount, w, waitLimit, FaultyDrawing + 1);
    std::printf("%-8s %9s %9s %12s %12s %9s %8s\n", "fault", "run s", "per dwg", "loss seen s",
                "restart s", "restarts", "skipped");
    bool ok = true;
    for (const char* marker : {"", "CRASH", "HANG"}) {
        const auto figures = RunOnce(folder, marker, w, waitLimit);
        if (!figures) {
            std::printf("%-8s the run did not reach the stand-in\n", *marker ? marker : "none");
            ok = false;
            continue;
        }
        std::printf("%-8s %9.2f %9.3f %12.2f %12.2f %9d %8d\n", *marker ? marker : "none",
                    figures->runMs / 1000.0, figures->runMs / 1000.0 / DrawingCount,
                    figures->lossSeenMs / 1000.0, figures->restartMs / 1000.0, figures->restarts,
                    figures->skipped);
    }
    std::printf("loss seen: the faulty drawing from its start until the run knew AutoCAD lost\n"
                "(for none: that drawing's own time); restart: from then to the next drawing's\n"
                "start (the lost process ended and waited for, Pelkadu, the start, the first\n"
                "prompt and the variables set up; for none: the gap between two drawings)\n");
    return ok ? 0 : 1;
}
