// How soon Tovimo.exe's window fetches a posted message during a run: a run
// of 20 drawings against the stand-in AutoCAD with an 8 s start and a 1 s
// open of each drawing, while this program posts EM_SETSEL to one of the
// window's edit fields every 50 ms and reads back (EM_GETSEL, sent) when
// the window has taken it. Prints the count, the median, the 95th
// percentile and the maximum of those delays.
//
// Usage: responsiveness_bench [drawings] [start ms] [open ms]
#include <algorithm>
#include <utility>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/form_design.h"
#include "platform/win32_api.h"

#include "fetch_probe.h"
#include "program_guard.h"
#include "standin_drawing.h"
#include "started_program.h"
#include "test_files.h"
#include "wait_until.h"
#include "window_finder.h"

using namespace tovimo;
using namespace tovimo::wine_tests;

namespace {

constexpr int PostEveryMs = 50;

bool RunShowsItsEnd(DWORD process) {
    return VisibleWindow("TSkipForm", process) || VisibleWindow("#32770", process);
}

}  // namespace

int main(int argc, char** argv) {
    const int drawings = argc > 1 ? std::atoi(argv[1]) : 20;
    const int startMs = argc > 2 ? std::atoi(argv[2]) : 8000;
    const int openMs = argc > 3 ? std::atoi(argv[3]) : 1000;

    ProgramGuard guard([] {
        auto programs = ProgramGuard::OurPrograms();
        programs.push_back("Tovimo.exe");
        return programs;
    }());
    TempFolder temp("tovimo-responsiveness-bench");
    const std::string program = temp.MakeFolder("program");
    for (const char* file : {"Tovimo.exe", "Pelkadu.exe"}) CopyInto(BinFolder() + file, program);
    const std::string folder = temp.MakeFolder("drawings");
    for (int i = 0; i < drawings; ++i)
        WriteWholeFile(folder + "D" + std::to_string(i) + ".dwg",
                       std::string(standin::DrawingHeader) + "\r\nFORMAT DWG2000\r\n");
    WriteWholeFile(program + "tovimo.ini",
                   "[MainForm]\r\nAcadPath=" + BinFolder() + "standin-acad.exe\r\n"
                   "AcadArg=/startup /startdelay:" + std::to_string(startMs) +
                       " /opendelay:" + std::to_string(openMs) + "\r\n"
                   "CommandWait=100\r\nStartWait=30\r\n"
                   "[dwgtodxf]\r\nMACRO_LINES=6\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
                   "MACRO3=DXF\r\nMACRO4=#ENTER\r\nMACRO5=#SAVEFILE\r\n");

    StartedProgram tovimo("\"" + program + "Tovimo.exe\" \"" + folder.substr(0, folder.size() - 1) + "\"");
    HWND main = WaitForVisibleWindow("TForm1", tovimo.ProcessId(), 30000);
    if (!main || !WaitUntil([&] { return ::IsWindowEnabled(FindControl(main, IdToDxfBitBtn)) != FALSE; }, 20000)) {
        std::printf("Tovimo.exe did not come up\n");
        return 1;
    }
    FetchProbe probe(FindControl(main, IdAcadArgEdit));
    ::PostMessageA(FindControl(main, IdToDxfBitBtn), BM_CLICK, 0, 0);

    std::vector<double> delays;
    std::vector<std::pair<double, double>> worst;  // delay, seconds into the run
    int unseen = 0;
    const DWORD start = ::GetTickCount();
    while (!RunShowsItsEnd(tovimo.ProcessId()) && ::GetTickCount() - start < 600000) {
        const DWORD posted = ::GetTickCount();
        if (const auto delay = probe.Measure(30000)) {
            delays.push_back(*delay);
            worst.emplace_back(*delay, (posted - start) / 1000.0);
        } else {
            ++unseen;
        }
        const DWORD spent = ::GetTickCount() - posted;
        if (spent < PostEveryMs) ::Sleep(PostEveryMs - spent);
    }
    const double runSeconds = (::GetTickCount() - start) / 1000.0;
    // The end message: OK, then the window is closed.
    if (HWND box = WaitForVisibleWindow("#32770", tovimo.ProcessId(), 30000)) PressButton(box, IDOK);
    ::Sleep(500);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    tovimo.WaitForExit(15000);
    WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000);

    std::sort(delays.begin(), delays.end());
    std::sort(worst.rbegin(), worst.rend());
    const auto at = [&](double share) {
        return delays.empty() ? 0.0 : delays[static_cast<std::size_t>(share * (delays.size() - 1))];
    };
    std::printf("run of %d drawings, AutoCAD start %d ms, open %d ms: %.1f s\n", drawings, startMs,
                openMs, runSeconds);
    std::printf("posted every %d ms: %zu fetched, %d not within 30 s\n", PostEveryMs, delays.size(), unseen);
    std::printf("fetch delay: median %.1f ms, 95th percentile %.1f ms, max %.1f ms\n", at(0.5),
                at(0.95), delays.empty() ? 0.0 : delays.back());
    std::printf("longest:");
    for (std::size_t i = 0; i < worst.size() && i < 5; ++i)
        std::printf(" %.1f ms at %.1f s;", worst[i].first, worst[i].second);
    std::printf("\n");
    return 0;
}
