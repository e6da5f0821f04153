#pragma once
// An AcadControl on the in-memory window system and the virtual clock, with a
// stand-in AutoCAD installed as the program "C:\Acad\acad.exe".
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "acadlink/acad_control.h"
#include "cp932_text_encoding.h"
#include "fake_message_pump.h"
#include "fake_process_launcher.h"
#include "fake_window_system.h"
#include "memory_files.h"
#include "virtual_clock.h"

namespace tovimo::testing {

inline constexpr const char* StandinProgram = "C:\\Acad\\acad.exe";

class AcadFixture : public ::testing::Test {
protected:
    AcadFixture() { processes.InstallStandin(windows, StandinProgram); }

    AcadPlatform Platform() { return {windows, clock, pump, processes, encoding}; }

    // Starts the stand-in with these options and links acad to it.
    void LinkStandin(const std::string& args = "") {
        acad.SetAcadPath(StandinProgram);
        acad.AcadArgs = args;
        ASSERT_EQ(acad.StartAcad(15), AcadReady);
        clock.ClearSleeps();
        windows.ClearMessages();
    }

    std::int64_t Slept() const { return clock.TotalSlept(); }

    VirtualClock clock;
    MemoryFiles files;
    FakeWindowSystem windows{clock, files};
    FakeProcessLauncher processes{&clock};
    FakeMessagePump pump;
    Cp932TextEncoding encoding;
    AcadControl acad{Platform()};
};

}  // namespace tovimo::testing
