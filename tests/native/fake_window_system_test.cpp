// The in-memory window system against what Win32 does for the same calls.
#include "fake_window_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tovimo::testing {
namespace {

class FakeWindowSystemTest : public ::testing::Test {
protected:
    std::vector<WindowHandle> Top() {
        std::vector<WindowHandle> found;
        windows.EnumWindows(Collect, &found);
        return found;
    }
    std::vector<WindowHandle> Below(WindowHandle parent) {
        std::vector<WindowHandle> found;
        windows.EnumChildWindows(parent, Collect, &found);
        return found;
    }
    static bool Collect(WindowHandle window, void* user) {
        static_cast<std::vector<WindowHandle>*>(user)->push_back(window);
        return true;
    }

    VirtualClock clock;
    MemoryFiles files;
    FakeWindowSystem windows{clock, files};
};

TEST_F(FakeWindowSystemTest, TextAndClassAreCopiedWithTheLimitOfWin32) {
    const WindowHandle window = windows.AddTopWindow("ABCDE", "MyClass");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(windows.GetText(window, buffer, 4), 3);
    EXPECT_STREQ(buffer, "ABC");
    EXPECT_EQ(windows.GetText(window, buffer, 8), 5);
    EXPECT_STREQ(buffer, "ABCDE");
    EXPECT_EQ(windows.GetText(window, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
    buffer[0] = 'x';
    EXPECT_EQ(windows.GetText(window, buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'x');  // nothing written without room
    EXPECT_EQ(windows.GetTextLength(window), 5);
    EXPECT_EQ(windows.GetClassName(window, buffer, 3), 2);
    EXPECT_STREQ(buffer, "My");
}

TEST_F(FakeWindowSystemTest, ParentIsTheParentOfAChildAndTheOwnerOfAPopup) {
    const WindowHandle main = windows.AddTopWindow("main");
    const WindowHandle child = windows.AddChildWindow(main, "child");
    const WindowHandle popup = windows.AddTopWindow("popup", "Dialog", main);
    const WindowHandle lone = windows.AddTopWindow("lone");
    EXPECT_EQ(windows.GetParent(child), main);
    EXPECT_EQ(windows.GetParent(popup), main);
    EXPECT_EQ(windows.GetParent(lone), 0u);
    EXPECT_EQ(windows.GetParent(main), 0u);
    EXPECT_EQ(windows.OwnerOf(popup), main);
    EXPECT_EQ(windows.ParentOf(popup), 0u);  // an owned popup is still top-level
    EXPECT_EQ(Top(), (std::vector<WindowHandle>{lone, popup, main}));
}

TEST_F(FakeWindowSystemTest, TopLevelOrderIsNewestFirstAndCanBeChanged) {
    const WindowHandle a = windows.AddTopWindow("a");
    const WindowHandle b = windows.AddTopWindow("b");
    const WindowHandle c = windows.AddTopWindow("c");
    EXPECT_EQ(Top(), (std::vector<WindowHandle>{c, b, a}));
    windows.BringToFront(a);
    windows.SendToBack(c);
    EXPECT_EQ(Top(), (std::vector<WindowHandle>{a, b, c}));
    EXPECT_EQ(windows.TopWindows(), Top());
    // A callback that answers false ends the enumeration.
    int calls = 0;
    windows.EnumWindows([](WindowHandle, void* user) { return ++*static_cast<int*>(user) < 2; }, &calls);
    EXPECT_EQ(calls, 2);
}

TEST_F(FakeWindowSystemTest, ChildEnumerationIsDepthFirstOverAllDescendants) {
    const WindowHandle main = windows.AddTopWindow("main");
    const WindowHandle first = windows.AddChildWindow(main, "1");
    const WindowHandle inner = windows.AddChildWindow(first, "1.1");
    const WindowHandle deeper = windows.AddChildWindow(inner, "1.1.1");
    const WindowHandle second = windows.AddChildWindow(main, "2");
    EXPECT_EQ(Below(main), (std::vector<WindowHandle>{first, inner, deeper, second}));
    EXPECT_EQ(Below(inner), (std::vector<WindowHandle>{deeper}));
    EXPECT_EQ(Below(0), Top());  // a null parent: the top-level windows
    EXPECT_TRUE(Below(0x999999).empty());
}

TEST_F(FakeWindowSystemTest, WindowsDestroyedDuringAnEnumerationAreSkipped) {
    const WindowHandle a = windows.AddTopWindow("a");
    const WindowHandle b = windows.AddTopWindow("b");
    struct State {
        FakeWindowSystem* windows;
        WindowHandle victim;
        std::vector<WindowHandle> seen;
    } state{&windows, a, {}};
    windows.EnumWindows(
        [](WindowHandle window, void* user) {
            auto* s = static_cast<State*>(user);
            s->seen.push_back(window);
            s->windows->RemoveWindow(s->victim);
            s->windows->AddTopWindow("new");  // not in the list taken
            return true;
        },
        &state);
    EXPECT_EQ(state.seen, (std::vector<WindowHandle>{b}));
}

TEST_F(FakeWindowSystemTest, FindWindowExMatchesClassAndCaptionAfterAChild) {
    const WindowHandle dialog = windows.AddTopWindow("dialog");
    const WindowHandle label = windows.AddChildWindow(dialog, "OK", "Static");
    const WindowHandle ok = windows.AddButton(dialog, "OK");
    const WindowHandle no = windows.AddButton(dialog, "No");
    const WindowHandle ok2 = windows.AddButton(dialog, "OK");
    EXPECT_EQ(windows.FindWindowEx(dialog, 0, "Button", "OK"), ok);
    EXPECT_EQ(windows.FindWindowEx(dialog, ok, "Button", "OK"), ok2);
    EXPECT_EQ(windows.FindWindowEx(dialog, ok2, "Button", "OK"), 0u);
    EXPECT_EQ(windows.FindWindowEx(dialog, 0, nullptr, "OK"), label);
    EXPECT_EQ(windows.FindWindowEx(dialog, label, "Button", nullptr), ok);
    // FindWindowExA ignores letter case, in class names and captions alike.
    EXPECT_EQ(windows.FindWindowEx(dialog, 0, "BUTTON", "NO"), no);
    EXPECT_EQ(windows.FindWindowEx(dialog, 0, "Button", "N"), 0u);
    EXPECT_EQ(windows.FindWindowEx(dialog, 0x999999, "Button", "OK"), 0u);  // childAfter not a child
    EXPECT_EQ(windows.FindWindowEx(0, 0, nullptr, "dialog"), dialog);
}

TEST_F(FakeWindowSystemTest, RemovingAWindowTakesItsChildrenAndOwnedPopupsAndLeavesStaleHandles) {
    const WindowHandle main = windows.AddTopWindow("main");
    const WindowHandle child = windows.AddChildWindow(main, "child");
    const WindowHandle popup = windows.AddTopWindow("popup", "Dialog", main);
    const WindowHandle button = windows.AddButton(popup, "OK");
    const WindowHandle other = windows.AddTopWindow("other");
    windows.RemoveWindow(main);
    for (const WindowHandle gone : {main, child, popup, button}) {
        EXPECT_FALSE(windows.IsWindow(gone));
        char buffer[16] = "x";
        EXPECT_EQ(windows.GetText(gone, buffer, sizeof buffer), 0);
        EXPECT_STREQ(buffer, "");
        EXPECT_EQ(windows.GetTextLength(gone), 0);
        EXPECT_EQ(windows.GetParent(gone), 0u);
        EXPECT_FALSE(windows.SetForegroundWindow(gone));
    }
    EXPECT_EQ(Top(), (std::vector<WindowHandle>{other}));
    const WindowHandle later = windows.AddTopWindow("later");
    EXPECT_NE(later, main);  // handles are not reused
}

TEST_F(FakeWindowSystemTest, EveryMessageIsRecordedWithTheClockTimeAndAPrivateCopy) {
    const WindowHandle window = windows.AddTopWindow("w");
    clock.Sleep(30);
    char text[] = "open\n";
    windows.SendCopyData(window, 1, text, sizeof text, 1000);
    text[0] = 'X';  // the record holds its own copy
    clock.Sleep(30);
    windows.PostNull(window);
    windows.SetForegroundWindow(window);
    windows.SendCopyData(0x999999, 7, "a", 2, 1000);

    const auto& messages = windows.Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].timeMs, 30);
    EXPECT_EQ(messages[0].kind, MessageKind::CopyData);
    EXPECT_EQ(messages[0].cbData, 6u);
    EXPECT_EQ(messages[0].bytes, std::string("open\n\0", 6));
    EXPECT_EQ(messages[0].Text(), "open\n");
    EXPECT_EQ(messages[1].kind, MessageKind::Null);
    EXPECT_EQ(messages[1].timeMs, 60);
    EXPECT_EQ(messages[2].kind, MessageKind::SetForeground);
    EXPECT_EQ(windows.Foreground(), window);
    EXPECT_FALSE(messages[3].delivered);
    EXPECT_EQ(messages[3].dwData, 7u);
    EXPECT_EQ(windows.CopyDataTexts(), (std::vector<TimedText>{{30, "open\n"}, {60, "a"}}));
    EXPECT_EQ(windows.MessagesTo(window).size(), 3u);
}

TEST_F(FakeWindowSystemTest, ButtonPressIsADownAndThenAnUpOnTheSameButton) {
    const WindowHandle dialog = windows.AddTopWindow("dialog");
    const WindowHandle yes = windows.AddButton(dialog, "Yes");
    const WindowHandle no = windows.AddButton(dialog, "No");
    windows.SendLButtonUp(yes);
    EXPECT_EQ(windows.PressCount(yes), 0);
    windows.SendLButtonDown(yes);
    windows.SendLButtonUp(no);
    EXPECT_EQ(windows.PressCount(no), 0);
    windows.SendLButtonDown(yes);
    windows.SendLButtonUp(yes);
    windows.SendLButtonUp(yes);
    EXPECT_EQ(windows.PressCount(yes), 1);
}

TEST_F(FakeWindowSystemTest, StandinIsReachedOnlyThroughItsMainWindow) {
    FakeStandin& acad = windows.StartStandin(std::vector<std::string>{"/fullwidth"});
    EXPECT_EQ(windows.FindTopWindow("テキスト"), acad.TextWindow());
    const char text[] = "FILEDIA\n";
    windows.SendCopyData(acad.TextWindow(), 1, text, sizeof text, 1000);
    EXPECT_EQ(acad.CommandLineText(), "コマンド: ");
    windows.SendCopyData(acad.MainWindow(), 1, text, sizeof text, 1000);
    EXPECT_EQ(windows.TextOf(acad.CommandLineWindow()), "FILEDIA の新しい値を入力 <1>: ");
    EXPECT_EQ(acad.Typed(), (std::vector<TimedText>{{0, "FILEDIA\n"}}));
    EXPECT_EQ(acad.Prompts().back(), "FILEDIA の新しい値を入力 <1>: ");
}

TEST_F(FakeWindowSystemTest, AHungWindowAnswersNothingAndCostsItsBoundUntilItCountsAsHung) {
    const WindowHandle main = windows.AddTopWindow("main");
    const WindowHandle child = windows.AddChildWindow(main, "text");
    const WindowHandle button = windows.AddButton(main, "OK");
    windows.HangWindow(main);
    EXPECT_TRUE(windows.IsWindow(child));  // still there

    // Freshly hung: every send waits its whole bound, on the window's
    // children too (they share its thread).
    char buffer[16] = "x";
    EXPECT_EQ(windows.GetText(child, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(clock.NowMs(), TextReadTimeoutMs);
    EXPECT_EQ(windows.GetTextLength(child), 0);
    EXPECT_EQ(clock.NowMs(), 2 * TextReadTimeoutMs);
    EXPECT_FALSE(windows.SendCopyData(main, 1, "a", 2, 3000));
    EXPECT_EQ(clock.NowMs(), 2 * TextReadTimeoutMs + 3000);
    windows.SendLButtonDown(button);
    windows.SendLButtonUp(button);
    EXPECT_EQ(windows.PressCount(button), 0);

    // Hung for five seconds: reads and presses give up at once, the command
    // data still waits its bound.
    clock.Sleep(static_cast<int>(HungAfterMs));
    const std::int64_t hungLong = clock.NowMs();
    EXPECT_EQ(windows.GetTextLength(child), 0);
    windows.SendLButtonDown(button);
    EXPECT_EQ(clock.NowMs(), hungLong);
    EXPECT_FALSE(windows.SendCopyData(main, 1, "a", 2, 3000));
    EXPECT_EQ(clock.NowMs(), hungLong + 3000);
    EXPECT_EQ(windows.UnansweredSends(), 8);
    EXPECT_FALSE(windows.MessagesOfKind(MessageKind::CopyData)[0].delivered);
}

TEST_F(FakeWindowSystemTest, AStandInThatHangsWhileOpeningKeepsItsWindowsAndAnswersNothing) {
    files.AddFile("D:\\h.dwg", "STANDIN-DRAWING\r\nHANG\r\n");
    FakeStandin& acad = windows.StartStandin(std::vector<std::string>{});
    const char setDialog[] = "FILEDIA\n0\nopen\n";
    ASSERT_TRUE(windows.SendCopyData(acad.MainWindow(), 1, setDialog, sizeof setDialog, 1000));
    const char path[] = "D:\\h.dwg\n";
    // It hangs inside the handling of the text: the send runs out.
    EXPECT_FALSE(windows.SendCopyData(acad.MainWindow(), 1, path, sizeof path, 1000));
    EXPECT_TRUE(acad.Hung());
    EXPECT_FALSE(acad.Log("hang").empty());
    EXPECT_TRUE(windows.IsWindow(acad.MainWindow()));
    EXPECT_EQ(windows.GetTextLength(acad.CommandLineWindow()), 0);
    EXPECT_FALSE(windows.SendCopyData(acad.MainWindow(), 1, "\x1b", 2, 1000));
    EXPECT_EQ(acad.Typed().back().text, "D:\\h.dwg\n");  // the escape never arrived
}

}  // namespace
}  // namespace tovimo::testing
