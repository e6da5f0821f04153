// The Win32 side of the platform interfaces, on real windows of this test
// process and on real program starts, under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "acadlink/window_list.h"
#include "platform/win32_api.h"

#include <objbase.h>

#include "platform/com_apartment.h"
#include "platform/win32_clock.h"
#include "platform/win32_message_pump.h"
#include "platform/win32_process_launcher.h"
#include "platform/win32_text_encoding.h"
#include "platform/win32_window_system.h"
#include "program_guard.h"
#include "test_files.h"
#include "text/cp932_text.h"
#include "wait_until.h"

namespace tovimo::wine_tests {
namespace {

using win32::FromHwnd;
using win32::ToHwnd;

// What the test windows were sent.
struct Received {
    int nullMessages = 0;
    std::vector<std::string> copyData;  // the bytes, terminating zero included
    std::vector<ULONG_PTR> copyDataKinds;
    std::vector<HWND> clickedButtons;   // BN_CLICKED from child buttons
};
Received received;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NULL:
            ++received.nullMessages;
            return 0;
        case WM_COPYDATA: {
            const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            received.copyDataKinds.push_back(record->dwData);
            received.copyData.emplace_back(static_cast<const char*>(record->lpData), record->cbData);
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED)
                received.clickedButtons.push_back(reinterpret_cast<HWND>(lParam));
            return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

const char* TestWindowClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TovimoTestWindow";
        return ::RegisterClassA(&windowClass) != 0;
    }();
    EXPECT_TRUE(registered);
    return "TovimoTestWindow";
}

struct WindowDeleter {
    void operator()(HWND__* window) const {
        if (::IsWindow(window)) ::DestroyWindow(window);
    }
};
using Window = std::unique_ptr<HWND__, WindowDeleter>;

Window MakeTopWindow(const std::string& title, HWND owner = nullptr) {
    const DWORD style = owner ? (WS_POPUP | WS_CAPTION | WS_VISIBLE) : (WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    return Window(::CreateWindowExA(0, TestWindowClass(), title.c_str(), style, 10, 10, 300, 200,
                                    owner, nullptr, ::GetModuleHandleA(nullptr), nullptr));
}

HWND MakeChild(HWND parent, const char* windowClass, const std::string& text, int id = 0) {
    return ::CreateWindowExA(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 80, 24,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

bool CollectInto(WindowHandle window, void* user) {
    static_cast<std::vector<WindowHandle>*>(user)->push_back(window);
    return true;
}

std::vector<WindowHandle> Only(const std::vector<WindowHandle>& windows,
                               const std::vector<WindowHandle>& wanted) {
    std::vector<WindowHandle> kept;
    for (WindowHandle window : windows)
        if (std::find(wanted.begin(), wanted.end(), window) != wanted.end()) kept.push_back(window);
    return kept;
}

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override { received = Received(); }
    win32::Win32WindowSystem windows;
    win32::Win32MessagePump pump;
    win32::Win32Clock clock;
};

// --- enumeration ---

TEST_F(PlatformTest, TopLevelWindowsComeOnceEachInTheSystemsOrder) {
    std::vector<Window> made;
    std::vector<WindowHandle> ours;
    for (int i = 0; i < 5; ++i) {
        made.push_back(MakeTopWindow("Enumerated " + std::to_string(i)));
        ASSERT_TRUE(made.back());
        ours.push_back(FromHwnd(made.back().get()));
    }
    // An owned popup is a top-level window too: AutoCAD's message boxes are.
    Window popup = MakeTopWindow("Owned popup", made[2].get());
    ours.push_back(FromHwnd(popup.get()));
    // A child is not.
    const HWND child = MakeChild(made[0].get(), "Static", "child");

    std::vector<WindowHandle> enumerated;
    windows.EnumWindows(CollectInto, &enumerated);

    // The system's own order: the z-order from the top.
    std::vector<WindowHandle> zOrder;
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT))
        zOrder.push_back(FromHwnd(window));

    const std::vector<WindowHandle> oursEnumerated = Only(enumerated, ours);
    EXPECT_EQ(oursEnumerated.size(), ours.size());
    EXPECT_EQ(oursEnumerated, Only(zOrder, ours));
    EXPECT_EQ(std::count(enumerated.begin(), enumerated.end(), FromHwnd(child)), 0);

    // The window list of the AutoCAD link keeps that order, with the key of
    // each handle.
    const WindowList list = ListTopWindows(windows);
    std::vector<WindowHandle> listed;
    for (const WindowListEntry& entry : list.entries) {
        listed.push_back(entry.window);
        char key[32];
        std::snprintf(key, sizeof key, " %10llX", static_cast<unsigned long long>(entry.window));
        EXPECT_EQ(entry.text, key);
        EXPECT_EQ(entry.text.size(), 11u);
    }
    EXPECT_EQ(Only(listed, ours), oursEnumerated);
}

TEST_F(PlatformTest, EnumerationStopsWhenTheCallbackSaysSo) {
    Window first = MakeTopWindow("Stop 1");
    Window second = MakeTopWindow("Stop 2");
    MakeChild(first.get(), "Static", "a");
    MakeChild(first.get(), "Static", "b");
    int calls = 0;
    auto stopAtOnce = [](WindowHandle, void* user) {
        ++*static_cast<int*>(user);
        return false;
    };
    windows.EnumWindows(stopAtOnce, &calls);
    EXPECT_EQ(calls, 1);
    calls = 0;
    windows.EnumChildWindows(FromHwnd(first.get()), stopAtOnce, &calls);
    EXPECT_EQ(calls, 1);
}

TEST_F(PlatformTest, ChildEnumerationReachesEveryDepthAndNoOtherWindow) {
    Window frame = MakeTopWindow("AutoCAD LT - [Drawing1.dwg]");
    Window other = MakeTopWindow("Other");
    const HWND bar = MakeChild(frame.get(), TestWindowClass(), "");
    const HWND commandLine = MakeChild(bar, "Static", "ｺﾏﾝﾄﾞ: ");
    const HWND deeper = MakeChild(commandLine, "Static", "deep");
    const HWND sibling = MakeChild(frame.get(), "Static", "sibling");
    const HWND stranger = MakeChild(other.get(), "Static", "ｺﾏﾝﾄﾞ: stranger");

    const WindowList list = ListChildWindows(windows, FromHwnd(frame.get()));
    std::vector<WindowHandle> found;
    for (const WindowListEntry& entry : list.entries) found.push_back(entry.window);
    ASSERT_EQ(found.size(), 4u);
    for (HWND window : {bar, commandLine, deeper, sibling})
        EXPECT_EQ(std::count(found.begin(), found.end(), FromHwnd(window)), 1);
    EXPECT_EQ(std::count(found.begin(), found.end(), FromHwnd(stranger)), 0);
    // Each entry carries the child's text.
    for (const WindowListEntry& entry : list.entries) {
        if (entry.window == FromHwnd(commandLine)) {
            EXPECT_EQ(entry.text, "ｺﾏﾝﾄﾞ: ");
        }
    }
}

// --- texts, parents and classes ---

TEST_F(PlatformTest, TextsAreReadInCodePage932WithinTheirLimit) {
    const std::string japanese = "AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - コマンド: 表示ソフト";
    Window window = MakeTopWindow(japanese);
    char buffer[256];
    EXPECT_EQ(windows.GetText(FromHwnd(window.get()), buffer, 256),
              static_cast<int>(japanese.size()));
    EXPECT_EQ(std::string(buffer), japanese);
    EXPECT_GE(windows.GetTextLength(FromHwnd(window.get())), static_cast<int>(japanese.size()));

    const std::string longTitle(300, 'x');
    Window longWindow = MakeTopWindow(longTitle + "END");
    EXPECT_EQ(windows.GetTextLength(FromHwnd(longWindow.get())), 303);
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(windows.GetText(FromHwnd(longWindow.get()), buffer, 255), 254);
    EXPECT_EQ(std::string(buffer), std::string(254, 'x'));
    // The reading of the AutoCAD link sees the same first 254 bytes.
    EXPECT_EQ(ReadTitle(windows, FromHwnd(longWindow.get())), std::string(254, 'x'));

    Window untitled = MakeTopWindow("");
    EXPECT_EQ(windows.GetTextLength(FromHwnd(untitled.get())), 0);
    buffer[0] = '#';
    EXPECT_EQ(windows.GetText(FromHwnd(untitled.get()), buffer, 256), 0);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(PlatformTest, AGoneOrZeroWindowReadsAsEmpty) {
    HWND gone;
    {
        Window window = MakeTopWindow("short-lived");
        gone = window.get();
    }
    EXPECT_FALSE(windows.IsWindow(FromHwnd(gone)));
    EXPECT_FALSE(windows.IsWindow(0));
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(windows.GetText(FromHwnd(gone), buffer, 16), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(windows.GetText(0, buffer, 16), 0);
    EXPECT_EQ(windows.GetTextLength(0), 0);
    EXPECT_EQ(ReadTitle(windows, FromHwnd(gone)), "");
    // Sending to no window must not break anything.
    windows.SendCopyData(0, 1, "x", 2, 1000);
    windows.PostNull(FromHwnd(gone));
    windows.SendLButtonDown(0);
    windows.SendLButtonUp(0);
}

TEST_F(PlatformTest, ParentIsTheParentOfAChildAndTheOwnerOfAPopup) {
    Window frame = MakeTopWindow("AutoCAD");
    Window popup = MakeTopWindow("AutoCAD LT ﾒｯｾｰｼﾞ", frame.get());
    const HWND child = MakeChild(frame.get(), "Static", "child");
    const HWND grandchild = MakeChild(child, "Static", "grandchild");
    EXPECT_TRUE(windows.IsWindow(FromHwnd(frame.get())));
    EXPECT_EQ(windows.GetParent(FromHwnd(popup.get())), FromHwnd(frame.get()));
    EXPECT_EQ(windows.GetParent(FromHwnd(child)), FromHwnd(frame.get()));
    EXPECT_EQ(windows.GetParent(FromHwnd(grandchild)), FromHwnd(child));
    EXPECT_EQ(windows.GetParent(FromHwnd(frame.get())), 0u);
}

TEST_F(PlatformTest, ClassNamesAreCutToTheirLimit) {
    Window frame = MakeTopWindow("classes");
    const HWND button = MakeChild(frame.get(), "Button", "OK");
    EXPECT_EQ(ReadClassName(windows, FromHwnd(button)), "Button");
    EXPECT_EQ(ReadClassName(windows, FromHwnd(frame.get())), "TovimoTestWindow");
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(windows.GetClassName(FromHwnd(button), buffer, 4), 3);
    EXPECT_STREQ(buffer, "But");
    EXPECT_EQ(windows.GetClassName(0, buffer, 8), 0);
}

// --- buttons ---

TEST_F(PlatformTest, FindWindowExFindsButtonsByClassAndCaption) {
    Window dialog = MakeTopWindow("AutoCAD LT");
    const HWND label = MakeChild(dialog.get(), "Static", "OK");
    const HWND ok = MakeChild(dialog.get(), "Button", "OK", 1);
    const HWND yes = MakeChild(dialog.get(), "Button", "はい(&Y)", 2);
    const HWND cancel = MakeChild(dialog.get(), "Button", "キャンセル", 3);
    const WindowHandle parent = FromHwnd(dialog.get());

    EXPECT_EQ(windows.FindWindowEx(parent, 0, "Button", "OK"), FromHwnd(ok));
    EXPECT_EQ(windows.FindWindowEx(parent, 0, "Static", "OK"), FromHwnd(label));
    EXPECT_EQ(windows.FindWindowEx(parent, 0, "Button", "キャンセル"), FromHwnd(cancel));
    // The half-width caption is another caption; the test is case-sensitive
    // on nothing but the exact bytes.
    EXPECT_EQ(windows.FindWindowEx(parent, 0, "Button", "ｷｬﾝｾﾙ"), 0u);
    EXPECT_EQ(windows.FindWindowEx(parent, 0, "Button", nullptr), FromHwnd(ok));
    EXPECT_EQ(windows.FindWindowEx(parent, FromHwnd(ok), "Button", nullptr), FromHwnd(yes));
    EXPECT_EQ(windows.FindWindowEx(parent, FromHwnd(cancel), "Button", nullptr), 0u);

    EXPECT_EQ(FindButton(windows, parent, "NO", "はい(&Y)"), FromHwnd(yes));
    EXPECT_EQ(FindButton(windows, parent, "NO", "いいえ(&N)"), 0u);
}

TEST_F(PlatformTest, ButtonDownAndUpAtItsOriginClickAButton) {
    Window dialog = MakeTopWindow("press");
    const HWND button = MakeChild(dialog.get(), "Button", "キャンセル", 7);
    const HWND other = MakeChild(dialog.get(), "Button", "OK", 8);
    windows.SetForegroundWindow(FromHwnd(button));
    windows.SendLButtonDown(FromHwnd(button));
    EXPECT_TRUE(received.clickedButtons.empty()) << "the press completes on the release";
    windows.SendLButtonUp(FromHwnd(button));
    pump.ProcessPendingMessages();
    ASSERT_EQ(received.clickedButtons.size(), 1u);
    EXPECT_EQ(received.clickedButtons[0], button);
    EXPECT_NE(received.clickedButtons[0], other);
}

// --- command data and the message queue ---

TEST_F(PlatformTest, CopyDataArrivesWholeBeforeTheSendReturns) {
    Window target = MakeTopWindow("AutoCAD LT - [Drawing1.dwg]");
    const std::string text = "saveas\n";
    windows.SendCopyData(FromHwnd(target.get()), 1, text.c_str(),
                         static_cast<std::uint32_t>(text.size() + 1), 1000);
    ASSERT_EQ(received.copyData.size(), 1u);
    EXPECT_EQ(received.copyDataKinds[0], 1u);
    EXPECT_EQ(received.copyData[0], std::string("saveas\n", 8));

    // The longest command text: 255 bytes of code page 932 with its zero.
    std::string longest;
    while (longest.size() + 2 <= 255) longest += "表";
    longest += "\x1B";
    ASSERT_EQ(longest.size(), 255u);
    windows.SendCopyData(FromHwnd(target.get()), 1, longest.c_str(), 256, 1000);
    ASSERT_EQ(received.copyData.size(), 2u);
    EXPECT_EQ(received.copyData[1].size(), 256u);
    EXPECT_EQ(received.copyData[1], longest + std::string(1, '\0'));
}

LRESULT CALLBACK UnicodeTestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(PlatformTest, AUnicodeWindowIsToldByItsClassAndItsTextStillReadsInCodePage932) {
    // A procedure of its own: Wine counts DefWindowProcW itself as serving
    // both kinds, and makes the window of the kind of the function that creates it.
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = UnicodeTestProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = L"TovimoTestUnicodeWindow";
        return ::RegisterClassW(&windowClass) != 0;
    }();
    ASSERT_TRUE(registered);
    // Made through the "A" function all the same: the class decides.
    Window unicode(::CreateWindowExA(0, "TovimoTestUnicodeWindow", "AutoCAD 2018 - [図面ソ.dwg]",
                                     WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr));
    Window ansi = MakeTopWindow("AutoCAD LT 2000 - [Drawing1.dwg]");
    ASSERT_TRUE(unicode && ansi);
    EXPECT_TRUE(windows.IsWindowUnicode(FromHwnd(unicode.get())));
    EXPECT_FALSE(windows.IsWindowUnicode(FromHwnd(ansi.get())));
    EXPECT_EQ(ReadTitle(windows, FromHwnd(unicode.get())), "AutoCAD 2018 - [図面ソ.dwg]");
    EXPECT_FALSE(windows.IsWindowUnicode(0));
}

TEST_F(PlatformTest, CodePage932TextConvertsToUtf16OrFailsWhole) {
    win32::Win32TextEncoding encoding;
    std::u16string units;
    ASSERT_TRUE(encoding.Cp932ToUtf16("D:\\図面\\ソ表ｺﾏﾝﾄﾞ①～\x1b\n", units));
    EXPECT_EQ(units, u"D:\\図面\\ソ表ｺﾏﾝﾄﾞ①～\x1b\n");
    ASSERT_TRUE(encoding.Cp932ToUtf16("", units));
    EXPECT_TRUE(units.empty());
    for (const char* text : {"D:\\bad\x81\n", "abc\x81", "\x85\x40"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(encoding.Cp932ToUtf16(text, units));
    }
}

TEST_F(PlatformTest, PostedWakeUpRunsOnlyWhenPendingMessagesAreProcessed) {
    Window target = MakeTopWindow("wake");
    windows.PostNull(FromHwnd(target.get()));
    windows.PostNull(FromHwnd(target.get()));
    EXPECT_EQ(received.nullMessages, 0);
    pump.ProcessPendingMessages();
    EXPECT_EQ(received.nullMessages, 2);
    MSG left;
    EXPECT_FALSE(::PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE)) << "the queue is empty";
    pump.ProcessPendingMessages();  // nothing pending: returns at once
    EXPECT_EQ(received.nullMessages, 2);
}

TEST_F(PlatformTest, AQuitSurvivesANestedMessageStep) {
    Window target = MakeTopWindow("quit");
    windows.PostNull(FromHwnd(target.get()));
    ::PostQuitMessage(7);
    pump.ProcessPendingMessages();
    EXPECT_EQ(received.nullMessages, 1);
    EXPECT_TRUE(pump.QuitSeen());
    MSG message;
    ASSERT_TRUE(::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

TEST_F(PlatformTest, ClockSleepsAndCountsMilliseconds) {
    const std::int64_t before = clock.NowMs();
    clock.Sleep(120);
    const std::int64_t slept = clock.NowMs() - before;
    EXPECT_GE(slept, 100);  // the tick count moves in steps of up to 16 ms
    EXPECT_LT(slept, 2000);
    const std::int64_t start = clock.NowMs();
    clock.Sleep(-5);  // must not turn into an endless wait
    clock.Sleep(0);
    EXPECT_LT(clock.NowMs() - start, 500);
}

// --- starting programs ---

class ProgramStartTest : public ::testing::Test {
protected:
    ProgramGuard guard;
    win32::Win32ProcessLauncher launcher;
    TempFolder temp{"tovimo-start"};

    // Copies the probe into folder (under another name if asked) and gives its path.
    std::string PlaceProbe(const std::string& folder, const std::string& name = "wine-probe.exe") {
        const std::string target = folder + name;
        EXPECT_TRUE(::CopyFileA((BinFolder() + "wine-probe.exe").c_str(), target.c_str(), FALSE))
            << target;
        return target;
    }

    // The probe's report from folder: its folder, command line, code page.
    std::vector<std::string> AwaitReport(const std::string& folder) {
        const std::string report = folder + "probe-report.txt";
        // Read once it can be: right after the probe's rename, Wine still
        // holds the file open for the rename for a moment.
        std::string content;
        if (!WaitUntil([&] {
                content = ReadWholeFile(report).value_or("");
                return !content.empty();
            }, 20000))
            return {};
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(content.substr(start, end - start));
        return lines;
    }
};

TEST_F(ProgramStartTest, CreateProcessStartsAProgramWithItsArguments) {
    const std::string folder = temp.MakeFolder("plain");
    const std::string probe = PlaceProbe(folder);
    ASSERT_TRUE(launcher.CreateProcess(probe + " /lt \"Z:\\a b\\c.dwg\"", 0));
    const std::vector<std::string> report = AwaitReport(folder);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0], folder);
    EXPECT_EQ(report[1], probe + " /lt \"Z:\\a b\\c.dwg\"");
    EXPECT_EQ(report[2], "932");
}

TEST_F(ProgramStartTest, CreateProcessFindsAnUnquotedProgramPathWithBlanks) {
    const std::string folder = temp.MakeFolder("Program Files\\acad");
    const std::string probe = PlaceProbe(folder);
    ASSERT_NE(probe.find(' '), std::string::npos);
    ASSERT_TRUE(launcher.CreateProcess(probe + " /p default", 0));
    const std::vector<std::string> report = AwaitReport(folder);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0], folder);
    // Windows hands the line on as it was given; Wine puts the program in
    // quotes once it has found it. The arguments come through either way.
    EXPECT_TRUE(report[1] == probe + " /p default" || report[1] == "\"" + probe + "\" /p default")
        << report[1];
}

TEST_F(ProgramStartTest, AStartedProcessIsWaitedOnAndEndedThroughItsHandle) {
    const std::string folder = temp.MakeFolder("owned");
    const std::string probe = PlaceProbe(folder);
    StartedProcess started = launcher.CreateProcess(probe + " STAY=60000", DetachedFromConsole);
    ASSERT_TRUE(started);
    ASSERT_NE(started.process, nullptr);
    EXPECT_EQ(AwaitReport(folder).size(), 3u);
    EXPECT_NE(started.process->Id(), 0u);
    EXPECT_FALSE(started.process->WaitForEnd(100));
    // Opened by its id while it runs, as a main window's process is.
    const std::unique_ptr<OwnedProcess> opened = launcher.OpenProcess(started.process->Id());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Id(), started.process->Id());
    EXPECT_TRUE(opened->End());
    EXPECT_TRUE(started.process->WaitForEnd(10000));
    EXPECT_TRUE(opened->WaitForEnd(0));
    EXPECT_EQ(launcher.OpenProcess(0), nullptr);
}

TEST_F(ProgramStartTest, CreateProcessOfAMissingProgramFails) {
    EXPECT_FALSE(launcher.CreateProcess(temp.Path() + "nothing-here.exe", 0));
    EXPECT_FALSE(launcher.CreateProcess("", 0));
}

TEST_F(ProgramStartTest, ProgramFolderEndsAtTheLastRealSeparator) {
    // "表" and "ソ" end in the byte of "\": only a search that knows the
    // double-byte characters cuts the path at the right place.
    const std::string folder = temp.MakeFolder("表示\\ソフト");
    ASSERT_FALSE(folder.empty());
    PlaceProbe(folder, "ソフト表.exe");
    ASSERT_TRUE(launcher.CreateProcess("\"" + folder + "ソフト表.exe\"", 0));
    const std::vector<std::string> report = AwaitReport(folder);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0], folder);

    EXPECT_EQ(win32::FolderOfPath("C:\\表\\ソ"), "C:\\表\\");
    EXPECT_EQ(win32::FolderOfPath("ソフト表"), "");
    EXPECT_EQ(win32::FolderOfPath("C:\\"), "C:\\");
    EXPECT_EQ(launcher.ProgramFolder(), BinFolder());
    EXPECT_TRUE(FileExists(launcher.ProgramFolder() + "platform_test.exe"));
}

TEST_F(ProgramStartTest, AHiddenStartRunsACommandThroughTheCommandInterpreter) {
    const std::string folder = temp.MakeFolder("exec");
    // Without extension, as Pelkadu is started: the interpreter finds the .exe.
    const std::string probe = PlaceProbe(folder);
    const std::string withoutExtension = probe.substr(0, probe.size() - 4);
    launcher.StartHidden("CMD.EXE /c " + withoutExtension + " hidden", DetachedFromConsole);
    const std::vector<std::string> report = AwaitReport(folder);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0], folder);
    EXPECT_NE(report[1].find("hidden"), std::string::npos);
}

TEST_F(ProgramStartTest, AHiddenStartThroughTheInterpreterTakesAQuotedPathWithBlanks) {
    const std::string folder = temp.MakeFolder("Program Files\\Tovimo");
    const std::string probe = PlaceProbe(folder);
    const std::string withoutExtension = probe.substr(0, probe.size() - 4);
    launcher.StartHidden("CMD.EXE /c \"\"" + withoutExtension + "\"\"", DetachedFromConsole);
    const std::vector<std::string> report = AwaitReport(folder);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0], folder);
}

TEST_F(ProgramStartTest, TheSystemFolderHoldsTheCommandInterpreter) {
    const std::string system = launcher.SystemFolder();
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(system.back(), '\\');
    EXPECT_TRUE(FileExists(system + "cmd.exe"));
}

TEST_F(ProgramStartTest, PlatformIsWindowsNt) {
    EXPECT_EQ(launcher.PlatformId(), std::optional<std::uint32_t>(VER_PLATFORM_WIN32_NT));
}

// A file association of the test's own, to the probe.
class ScopedAssociation {
public:
    ScopedAssociation(const std::string& extension, const std::string& command)
        : extension_(extension) {
        const std::string type = "TovimoTest" + extension;
        SetDefault(extension, type);
        SetDefault(type + "\\shell\\open\\command", command);
    }
    ~ScopedAssociation() {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, extension_.c_str());
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ("TovimoTest" + extension_).c_str());
    }

private:
    static void SetDefault(const std::string& key, const std::string& value) {
        HKEY handle;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(handle);
    }
    std::string extension_;
};

TEST_F(ProgramStartTest, ShellOpenStartsTheProgramOfTheFileAssociation) {
    const std::string folder = temp.MakeFolder("association");
    const std::string probe = PlaceProbe(folder);
    ScopedAssociation association(".tovimoprobe", "\"" + probe + "\" \"%1\"");
    const std::string document = temp.Path() + "Drawing1.tovimoprobe";
    ASSERT_TRUE(WriteWholeFile(document, "STANDIN-DRAWING\n"));
    ASSERT_TRUE(launcher.ShellOpen(document));
    const std::vector<std::string> report = AwaitReport(folder);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_NE(report[1].find("Drawing1.tovimoprobe"), std::string::npos) << report[1];
}

// Watches one thread's joins to and leaves from COM's apartments.
class ApartmentSpy : public IInitializeSpy {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        const bool known = id == __uuidof(IUnknown) || id == __uuidof(IInitializeSpy);
        *object = known ? this : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    // Lives on the test's stack, longer than the thread it watches.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE PreInitialize(DWORD, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostInitialize(HRESULT result, DWORD, DWORD references) override {
        if (SUCCEEDED(result)) held = static_cast<int>(references);
        return result;
    }
    HRESULT STDMETHODCALLTYPE PreUninitialize(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostUninitialize(DWORD references) override {
        held = static_cast<int>(references);
        return S_OK;
    }
    std::atomic<int> held{0};  // the thread's references to its apartment
};

// The shell opens through an association on a thread that COM has joined to
// a single-threaded apartment; later opens take no further reference, and
// the thread leaves the apartment as it ends.
TEST_F(ProgramStartTest, ShellOpenPutsItsThreadIntoOneSingleThreadedApartmentUntilItEnds) {
    const std::string folder = temp.MakeFolder("apartment");
    const std::string probe = PlaceProbe(folder);
    ScopedAssociation association(".tovimoprobe", "\"" + probe + "\" \"%1\"");
    const std::string document = temp.Path() + "Drawing2.tovimoprobe";
    ASSERT_TRUE(WriteWholeFile(document, "STANDIN-DRAWING\n"));
    ApartmentSpy spy;
    HRESULT watched = E_FAIL;
    bool opened = false;
    HRESULT before = S_OK;
    HRESULT after = E_FAIL;
    APTTYPE type = APTTYPE_MTA;
    int heldWhileRunning = -1;
    // A thread of its own, so that no other test's COM state plays a part.
    std::thread([&] {
        ULARGE_INTEGER cookie{};
        watched = ::CoRegisterInitializeSpy(&spy, &cookie);
        APTTYPEQUALIFIER qualifier;
        before = ::CoGetApartmentType(&type, &qualifier);
        opened = launcher.ShellOpen(document).started;
        after = ::CoGetApartmentType(&type, &qualifier);
        win32::EnsureComApartment();  // as every later open on the thread does
        heldWhileRunning = spy.held;
    }).join();
    ASSERT_EQ(watched, S_OK);
    EXPECT_TRUE(opened);
    EXPECT_EQ(before, CO_E_NOTINITIALIZED);
    EXPECT_EQ(after, S_OK);
    EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << type;
    EXPECT_EQ(heldWhileRunning, 1) << "not one reference while the thread ran";
    EXPECT_EQ(spy.held, 0) << "the ended thread did not leave its apartment";
    EXPECT_EQ(AwaitReport(folder).size(), 3u);
}

// Answers the message boxes of this process from another thread, as a
// user would, and counts them.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() : thread_([this] { Run(); }) {}
    ~MessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    int Answered() const { return answered_; }

private:
    static BOOL CALLBACK Answer(HWND window, LPARAM param) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        char className[32] = {};
        ::GetClassNameA(window, className, sizeof className);
        if (process == ::GetCurrentProcessId() && std::string(className) == "#32770" &&
            ::IsWindowVisible(window)) {
            ::PostMessageA(window, WM_COMMAND, IDOK, 0);
            ++reinterpret_cast<MessageBoxAnswerer*>(param)->answered_;
        }
        return TRUE;
    }
    void Run() {
        while (!stop_) {
            ::EnumWindows(Answer, reinterpret_cast<LPARAM>(this));
            ::Sleep(100);
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread thread_;
};

// An unattended run must never wait on a message box of the shell: the
// request asks for none, and the failure is only reported.
TEST_F(ProgramStartTest, ShellOpenOfAFileWithoutAssociationFailsWithoutAMessageOfTheShell) {
    const std::string document = temp.Path() + "Drawing1.tovimo-unknown";
    ASSERT_TRUE(WriteWholeFile(document, "STANDIN-DRAWING\n"));
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(launcher.ShellOpen(document));
    EXPECT_FALSE(launcher.ShellOpen(temp.Path() + "missing.dwg"));
    ::Sleep(500);  // a box would have shown by now
    EXPECT_EQ(answerer.Answered(), 0);
}

}  // namespace
}  // namespace tovimo::wine_tests
