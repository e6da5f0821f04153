// A program frozen on the desktop under Wine: the window system's reads and
// presses give up on its window, and Pelkadu still ends by itself.
#include <gtest/gtest.h>

#include <string>

#include "hung_program.h"
#include "platform/win32_window_system.h"
#include "program_guard.h"
#include "started_program.h"
#include "test_files.h"

namespace tovimo::wine_tests {
namespace {

using win32::FromHwnd;

// How long a bounded send may take before it counts as waiting on the window:
// far above any bound, far below for ever.
constexpr ULONGLONG NotWaitingMs = 30000;

class HungWindowTest : public ::testing::Test {
protected:
    ProgramGuard guard;
    win32::Win32WindowSystem windows;
};

TEST_F(HungWindowTest, ReadsPressesAndCommandDataGiveUpOnAHungWindow) {
    HungProgram hung("固まったウィンドウ");
    ASSERT_NE(hung.Window(), nullptr) << "the frozen program's window";
    const WindowHandle window = FromHwnd(hung.Window());

    const ULONGLONG start = ::GetTickCount64();
    EXPECT_EQ(windows.GetTextLength(window), 0);
    char buffer[256] = "x";
    EXPECT_EQ(windows.GetText(window, buffer, 255), 0);
    EXPECT_STREQ(buffer, "");
    windows.SendLButtonDown(window);
    windows.SendLButtonUp(window);
    EXPECT_FALSE(windows.SendCopyData(window, 1, "x", 2, 1000));
    EXPECT_LT(::GetTickCount64() - start, NotWaitingMs);
    // The window is still there; only its thread stopped.
    EXPECT_TRUE(windows.IsWindow(window));
    guard.EndAll();
    EXPECT_EQ(CountRunning("wine-hung-window.exe"), 0);
}

TEST_F(HungWindowTest, PelkaduEndsByItselfBesideAHungWindow) {
    HungProgram hung("固まったウィンドウ");
    ASSERT_NE(hung.Window(), nullptr);
    StartedProgram pelkadu(BinFolder() + "Pelkadu.exe");
    ASSERT_TRUE(pelkadu.Started());
    // 200 attempts 100 ms apart, and a few seconds for the hung window.
    EXPECT_EQ(pelkadu.WaitForExit(60000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace tovimo::wine_tests
