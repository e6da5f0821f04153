// The real window under Wine: drops with a real HDROP, the file-type
// question and the message boxes answered from another thread, the settings
// panel, the settings file across a close and a restart, and Tovimo.exe
// started with paths on its command line.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "mainwindow/application.h"
#include "mainwindow/browse_folder.h"
#include "platform/win32_api.h"

#include <shlobj.h>
#include "started_program.h"
#include "test_files.h"
#include "wait_until.h"
#include "window_finder.h"

namespace tovimo::wine_tests {
namespace {

using win32::TovimoApplication;
using win32::WindowText;

// A drop of these paths, as Explorer hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += path + '\0';
    list += '\0';
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// The same with wide paths, as Explorer hands over names of any script.
HDROP MakeWideDrop(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) list += path + L'\0';
    list += L'\0';
    const std::size_t bytes = list.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), bytes);
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::wstring Wide(const std::string& text) {
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), chars);
    return wide;
}

HWND VisibleWindow(const char* className) {
    return wine_tests::VisibleWindow(className, ::GetCurrentProcessId());
}

// What a modal window showed when another thread answered it.
struct Answered {
    std::string caption;
    std::vector<std::string> texts;  // its static texts, in child order
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM data) {
    char name[64] = {};
    ::GetClassNameA(child, name, sizeof(name));
    if (_stricmp(name, "Static") == 0) {
        const std::string text = WindowText(child);
        if (!text.empty()) reinterpret_cast<Answered*>(data)->texts.push_back(text);
    }
    return TRUE;
}

// Waits on a thread of its own for a modal window of the class, notes what
// it shows and presses the button with this id in it; with ready, only once
// ready says the window is ready for it.
class ModalAnswerer {
public:
    ModalAnswerer(const char* className, int buttonId,
                  std::function<bool(HWND)> ready = [](HWND) { return true; })
        : thread_([this, className, buttonId, ready] {
              HWND window = nullptr;
              WaitUntil([&] { return (window = VisibleWindow(className)) != nullptr; }, 10000);
              if (!window) return;
              WaitUntil([&] { return ready(window); }, 10000);
              answered.caption = WindowText(window);
              ::EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&answered));
              HWND button = ::GetDlgItem(window, buttonId);
              ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
              done = true;
          }) {}
    ~ModalAnswerer() { thread_.join(); }
    Answered answered;
    std::atomic<bool> done{false};

private:
    std::thread thread_;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        program = folder.MakeFolder("program");
        drawings = folder.MakeFolder("図面");
        folder.MakeFolder("図面\\sub");
        for (const char* name : {"A.dwg", "sub\\B.dwg", "x.txt"}) WriteWholeFile(drawings + name, "drawing");
        dxf = folder.MakeFolder("dxf");
        WriteWholeFile(dxf + "C.dxf", "drawing");
    }
    TovimoApplication& Start() {
        app = std::make_unique<TovimoApplication>(program);
        EXPECT_TRUE(app->Create());
        app->Show({});
        return *app;
    }
    HWND Main() { return app->Form1().Handle(); }
    HWND Control(int id) { return app->Form1().Control(id); }
    bool Enabled(int id) { return ::IsWindowEnabled(Control(id)) != FALSE; }
    void Drop(const std::vector<std::string>& paths) {
        ::SendMessageA(Main(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
    }
    // The tree's items in order, each as its caption, with two blanks per level.
    std::vector<std::string> TreeItems() {
        std::vector<std::string> items;
        HWND tree = Control(IdTreeView1);
        std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int depth) {
            for (; item; item = TreeView_GetNextSibling(tree, item)) {
                char text[260] = {};
                TVITEMA data{};
                data.mask = TVIF_TEXT | TVIF_IMAGE;
                data.hItem = item;
                data.pszText = text;
                data.cchTextMax = sizeof(text);
                TreeView_GetItem(tree, &data);
                items.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + text +
                                (data.iImage == 0 ? "\\" : ""));
                walk(TreeView_GetChild(tree, item), depth + 1);
            }
        };
        walk(TreeView_GetRoot(tree), 0);
        return items;
    }
    RECT WindowRect() {
        RECT rect;
        ::GetWindowRect(Main(), &rect);
        return rect;
    }
    void CloseWindow() {
        ::SendMessageA(Main(), WM_CLOSE, 0, 0);
        EXPECT_EQ(app->Form1().Handle(), nullptr);
        app.reset();
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}  // the quit message
    }
    std::string Ini() { return ReadWholeFile(program + "tovimo.ini").value_or(""); }

    TempFolder folder{"tovimo-window"};
    std::string program;
    std::string drawings;
    std::string dxf;
    std::unique_ptr<TovimoApplication> app;
};

TEST_F(MainWindowTest, AFolderDropBuildsTheTreeCountsTheDrawingsAndEnablesItsRunButton) {
    Start();
    EXPECT_EQ(WindowText(Main()), "Tovimo   Ver. 1.90");
    EXPECT_TRUE(::GetWindowLongA(Main(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(Enabled(IdToDxfBitBtn) || Enabled(IdToDwgBitBtn) || Enabled(IdClearBitBtn) ||
                 Enabled(IdCancelBitBtn));
    EXPECT_TRUE(Enabled(IdCloseBitBtn));
    EXPECT_EQ(WindowText(Control(IdDwgNoLabel)), "0");
    // Room for five digits, left of "枚".
    {
        HWND count = Control(IdDwgNoLabel);
        HDC dc = ::GetDC(count);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(count, WM_GETFONT, 0, 0)));
        SIZE digits{};
        ::GetTextExtentPoint32A(dc, "99999", 5, &digits);
        ::SelectObject(dc, old);
        ::ReleaseDC(count, dc);
        RECT countRect;
        RECT unitRect;
        ::GetWindowRect(count, &countRect);
        ::GetWindowRect(Control(IdLabel2), &unitRect);
        EXPECT_LE(digits.cx, countRect.right - countRect.left);
        EXPECT_GE(unitRect.left, countRect.right);
    }

    ::SendMessageA(Control(IdGetChildFolderCheckBox), BM_SETCHECK, BST_CHECKED, 0);
    Drop({drawings.substr(0, drawings.size() - 1)});
    EXPECT_EQ(TreeItems(), (std::vector<std::string>{"図面\\", "  A.dwg", "  sub\\", "    B.dwg"}));
    EXPECT_EQ(WindowText(Control(IdDwgNoLabel)), "2");
    EXPECT_TRUE(Enabled(IdToDxfBitBtn));
    EXPECT_FALSE(Enabled(IdToDwgBitBtn));
    EXPECT_TRUE(Enabled(IdClearBitBtn));
    EXPECT_FALSE(Enabled(IdCancelBitBtn));
    const std::vector<TFileName> records = app->Form1().Logic().List().Drawings();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].FullPath, drawings + "sub\\B.dwg");
    EXPECT_EQ(records[1].SubDir, "\\図面\\sub");

    // "　クリア" empties the tree.
    ::SendMessageA(Control(IdClearBitBtn), BM_CLICK, 0, 0);
    EXPECT_TRUE(TreeItems().empty());
    EXPECT_FALSE(Enabled(IdToDxfBitBtn) || Enabled(IdClearBitBtn));
}

TEST_F(MainWindowTest, BothKindsAskTheFileTypeDialogWhichIsAnsweredFromAnotherThread) {
    Start();
    Answered shown;
    {
        ModalAnswerer answer("TFileTypeDlg", IdDwgBitBtn);
        Drop({dxf + "C.dxf", drawings + "A.dwg"});
        shown = answer.answered;
        EXPECT_TRUE(answer.done);
    }
    EXPECT_EQ(shown.caption, "Tovimoメッセージ");
    EXPECT_EQ(shown.texts, (std::vector<std::string>{"DwgとＤｘｆデータがDropされました。",
                                                     "どちらのファイルを選びますか？"}));
    EXPECT_EQ(TreeItems(), std::vector<std::string>{"A.dwg"});
    EXPECT_TRUE(Enabled(IdToDxfBitBtn));

    // A list of kind DWG refuses a drop of DXF drawings only, with a message box.
    {
        ModalAnswerer answer("#32770", IDOK);
        Drop({dxf + "C.dxf"});
        shown = answer.answered;
    }
    EXPECT_EQ(shown.caption, "Tovimoメッセージ");
    EXPECT_EQ(shown.texts, std::vector<std::string>{"DwgデータがDropされていません。"});
    EXPECT_EQ(TreeItems(), std::vector<std::string>{"A.dwg"});
}

// Names that code page 932 lacks: a folder in Hangul and a file with "¥",
// which best fit would have made "\". Both are named after the drop, which
// takes the rest.
TEST_F(MainWindowTest, AWideDropNamesWhatShiftJisCannotWriteAndTakesTheRest) {
    const std::wstring base = Wide(folder.Path());
    const std::wstring hangul = base + L"\uB3C4\uBA74";  // 도면
    const std::wstring yen = base + L"a\u00A5b.dwg";
    // The temporary folder is removed through names of code page 932, which
    // these have not: they go by their wide names.
    struct WideNames {
        std::wstring folder, file;
        ~WideNames() {
            ::DeleteFileW(file.c_str());
            ::RemoveDirectoryW(folder.c_str());
        }
    } made{hangul, yen};
    ASSERT_TRUE(::CreateDirectoryW(hangul.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    HANDLE file = ::CreateFileW(yen.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    Start();
    Answered shown;
    {
        ModalAnswerer answer("#32770", IDOK);
        ::SendMessageA(Main(), WM_DROPFILES,
                       reinterpret_cast<WPARAM>(MakeWideDrop(
                           {hangul, Wide(drawings.substr(0, drawings.size() - 1)), yen})),
                       0);
        shown = answer.answered;
        EXPECT_TRUE(answer.done);
    }
    EXPECT_EQ(shown.caption, "Tovimoメッセージ");
    std::string text;
    for (const std::string& line : shown.texts) text += line + "\n";
    EXPECT_NE(text.find(folder.Path() + "??"), std::string::npos) << text;
    EXPECT_NE(text.find(folder.Path() + "a?b.dwg"), std::string::npos) << text;
    EXPECT_NE(text.find("名前をShift-JISで表せません"), std::string::npos) << text;
    EXPECT_EQ(TreeItems(), (std::vector<std::string>{"図面\\", "  A.dwg"}));
    EXPECT_TRUE(Enabled(IdToDxfBitBtn));
}

// Enter presses the button that has the focus, as in every dialog: at
// first "Dwgを選択"; after Tab, "Dxfを選択". Esc does nothing.
TEST_F(MainWindowTest, EnterAnswersTheFileTypeQuestionWithTheFocusedButton) {
    Start();
    const auto pressKeys = [](std::vector<WPARAM> keys) {
        return std::thread([keys] {
            HWND dialog = nullptr;
            WaitUntil([&] { return (dialog = VisibleWindow("TFileTypeDlg")) != nullptr; }, 10000);
            if (!dialog) return;
            for (WPARAM key : keys) {
                ::PostMessageA(dialog, WM_KEYDOWN, key, 1);
                ::PostMessageA(dialog, WM_KEYUP, key, 0xC0000001);
                ::Sleep(200);
            }
        });
    };
    std::thread keys = pressKeys({VK_ESCAPE, VK_RETURN});
    Drop({dxf + "C.dxf", drawings + "A.dwg"});
    keys.join();
    EXPECT_EQ(TreeItems(), std::vector<std::string>{"A.dwg"});

    ::SendMessageA(Control(IdClearBitBtn), BM_CLICK, 0, 0);
    keys = pressKeys({VK_TAB, VK_RETURN});
    Drop({dxf + "C.dxf", drawings + "A.dwg"});
    keys.join();
    EXPECT_EQ(TreeItems(), std::vector<std::string>{"C.dxf"});
}

TEST_F(MainWindowTest, TheSettingsPanelGrowsTheWindowOnceAndShrinksItAgain) {
    Start();
    const int dpi = app->Form1().Dpi();
    const RECT before = WindowRect();
    EXPECT_FALSE(::IsWindowVisible(Control(IdPanel2)));
    ::SendMessageA(Main(), WM_COMMAND, IdSettingOpenMenu, 0);
    ::SendMessageA(Main(), WM_COMMAND, IdSettingOpenMenu, 0);
    const RECT open = WindowRect();
    EXPECT_EQ(open.bottom - open.top, before.bottom - before.top + ScaleToDpi(350, dpi));
    EXPECT_TRUE(::IsWindowVisible(Control(IdPanel2)));
    EXPECT_EQ(WindowText(Control(IdAcadPathLabel)), "指定なし");
    ::SendMessageA(Control(IdSettingCloseBitBtn), BM_CLICK, 0, 0);
    const RECT closed = WindowRect();
    EXPECT_EQ(closed.bottom - closed.top, before.bottom - before.top);
    EXPECT_FALSE(::IsWindowVisible(Control(IdPanel2)));
}

TEST_F(MainWindowTest, TheSettingsFileIsWrittenAtCloseAndEveryValueIsFoundBackAtTheNextStart) {
    Start();
    EXPECT_EQ(Ini(), "");  // nothing is written before the close
    ::SendMessageA(Main(), WM_COMMAND, IdSettingOpenMenu, 0);
    ::SetWindowTextA(Control(IdCommandWaitEdit), "250");
    ::SetWindowTextA(Control(IdAcadStartEdit), "abc");  // no number: the last good value
    ::SetWindowTextA(Control(IdAcadArgEdit), "/nologo /p 図面");
    ::SetWindowTextA(Control(IdToDxfMemo), "open\r\n#FILE\r\nsaveas\r\nDXF\r\n#ENTER\r\n#SAVEFILE\r\n");
    ::SendMessageA(Control(IdRewiteChkBox), BM_CLICK, 0, 0);
    ::SendMessageA(Control(IdSaveSameDirChkBox), BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(Control(IdSaveDirLabel)), "指定のフォルダ");
    EXPECT_TRUE(Enabled(IdSaveDirBitBtn));
    ::SetWindowPos(Main(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT rect = WindowRect();
    CloseWindow();

    const std::string ini = Ini();
    const std::string expected =
        "[MainForm]\r\nTop=30\r\nLeft=40\r\nWidth=" + std::to_string(rect.right - rect.left) +
        "\r\nHeight=" + std::to_string(rect.bottom - rect.top) +
        "\r\nAcadPath=\r\nCommandWait=250\r\nStartWait=15\r\nFileDia=1\r\nISaveBak=1\r\n"
        "ProxyNotice=1\r\nSaveDir=" + program +
        "\r\nRewite=0\r\nAcadClose=1\r\nSaveTmpdwg=0\r\nSaveSameDir=0\r\nSettingVisble=1\r\n"
        "GetChildFolder=0\r\nSaveChildDir=1\r\nDYNCancel=0\r\nAcadArg=/nologo /p 図面\r\n";
    EXPECT_EQ(ini.substr(0, expected.size()), expected);
    EXPECT_NE(ini.find("[dwgtodxf]\r\nMACRO_LINES=6\r\nMACRO0=open\r\nMACRO1=#FILE\r\n"), std::string::npos);

    Start();
    EXPECT_EQ(WindowRect().top, 30);
    EXPECT_EQ(WindowRect().bottom - WindowRect().top, rect.bottom - rect.top);
    EXPECT_TRUE(::IsWindowVisible(Control(IdPanel2)));
    EXPECT_EQ(WindowText(Control(IdCommandWaitEdit)), "250");
    EXPECT_EQ(WindowText(Control(IdAcadStartEdit)), "15");
    EXPECT_EQ(WindowText(Control(IdAcadArgEdit)), "/nologo /p 図面");
    EXPECT_EQ(::SendMessageA(Control(IdRewiteChkBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendMessageA(Control(IdSaveSameDirChkBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(WindowText(Control(IdToDxfMemo)), "open\r\n#FILE\r\nsaveas\r\nDXF\r\n#ENTER\r\n#SAVEFILE\r\n");
    CloseWindow();
    EXPECT_EQ(Ini(), ini);  // the same settings give the same file, byte for byte
}

// A click on an item, as the mouse gives it, with the keys held.
void ClickItem(HWND tree, HTREEITEM item, WPARAM keys) {
    RECT rect{};
    TreeView_GetItemRect(tree, item, &rect, TRUE);
    const LPARAM at = MAKELPARAM(rect.left + 2, (rect.top + rect.bottom) / 2);
    // The release waits in the queue, where the control's tracking of the
    // pressed button finds it.
    ::PostMessageA(tree, WM_LBUTTONUP, keys, at);
    ::SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    MSG message;
    while (::PeekMessageA(&message, tree, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

TEST_F(MainWindowTest, CtrlAndShiftClicksSelectSeveralItemsWhichAreDeletedTogether) {
    for (const char* name : {"D.dwg", "E.dwg", "F.dwg"}) WriteWholeFile(drawings + name, "drawing");
    Start();
    Drop({drawings + "A.dwg", drawings + "D.dwg", drawings + "E.dwg", drawings + "F.dwg"});
    HWND tree = Control(IdTreeView1);
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item))
        items.push_back(item);
    ASSERT_EQ(items.size(), 4u);
    ClickItem(tree, items[0], 0);
    ClickItem(tree, items[2], MK_SHIFT);    // A to E
    ClickItem(tree, items[1], MK_CONTROL);  // D out again
    const auto selected = [&](HTREEITEM item) {
        return (TreeView_GetItemState(tree, item, TVIS_SELECTED) & TVIS_SELECTED) != 0;
    };
    EXPECT_TRUE(selected(items[0]));
    EXPECT_FALSE(selected(items[1]));
    EXPECT_TRUE(selected(items[2]));
    EXPECT_FALSE(selected(items[3]));
    ::SendMessageA(Main(), WM_COMMAND, IdDeletePop, 0);
    EXPECT_EQ(TreeItems(), (std::vector<std::string>{"D.dwg", "F.dwg"}));
    EXPECT_EQ(WindowText(Control(IdDwgNoLabel)), "2");
    // A plain click selects one item alone.
    ClickItem(tree, TreeView_GetRoot(tree), 0);
    ::SendMessageA(Main(), WM_COMMAND, IdDeletePop, 0);
    EXPECT_EQ(TreeItems(), std::vector<std::string>{"F.dwg"});
}

TEST_F(MainWindowTest, TheListOfDrawingsNotConvertedShowsReasonsAndCopiesItsLinesWithCtrlC) {
    Start();
    win32::TSkipForm& skip = app->SkipForm();
    skip.SetLines({"A.dwg", "B.dwg  (AutoCADが応答しません)"});
    EXPECT_EQ(skip.Lines(), (std::vector<std::string>{"A.dwg", "B.dwg  (AutoCADが応答しません)"}));
    EXPECT_EQ(WindowText(skip.Handle()), "Tovimoメッセージ");
    HWND list = skip.Control(IdListBox1);
    ::SendMessageA(list, WM_KEYDOWN, 'C', 0);  // without Ctrl: nothing copied
    ::SetFocus(list);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::SendMessageA(list, WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const HANDLE data = ::GetClipboardData(CF_TEXT);
    const std::string copied = data ? static_cast<const char*>(::GlobalLock(data)) : "";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(copied, "A.dwg\r\nB.dwg  (AutoCADが応答しません)\r\n");

    // A long name with its reason can be scrolled to sideways.
    skip.SetLines({"とても長い名前の図面ファイル-設備図-空調-3F-改訂版.dwg  (同じ名前の変換後ファイルになる図面が先にあります)"});
    RECT client;
    ::GetClientRect(list, &client);
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(::GetScrollInfo(list, SB_HORZ, &bar));
    EXPECT_GT(bar.nMax - bar.nMin + 1, static_cast<int>(bar.nPage));
    EXPECT_TRUE(::GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(MainWindowTest, EveryButtonMenuAndLabelCarriesItsCaption) {
    Start();
    const std::vector<std::pair<int, std::string>> captions{
        {IdLabel1, "選択図面"}, {IdLabel2, "枚"}, {IdRewiteChkBox, "上書き保存"},
        {IdGetChildFolderCheckBox, "子ﾌｫﾙﾀﾞも選択"}, {IdToDxfBitBtn, "DXFで保存"},
        {IdToDwgBitBtn, "Dwgで保存"}, {IdClearBitBtn, "　クリア"}, {IdSaveDirBitBtn, "変換後ﾌｫﾙﾀﾞ"},
        {IdCancelBitBtn, "キャンセル"}, {IdCloseBitBtn, "　 終了"}, {IdSaveDirCaption, "変換後"},
        {IdAcadBitBtn, "AutoCAD指定"}, {IdSettingCloseBitBtn, "設定を閉じる"},
        {IdAcadCloseChkBox, "AutoCAD自動終了"}, {IdSaveSameDirChkBox, "同じフォルダに保存"},
        {IdSavetmpdwgChkBox, "Tmp.dwg保存 "}, {IdSaveChildDirCheckBox, "変換後ﾌｫﾙﾀﾞ保持"},
        {IdDYNCancelChkBox, "DYN停止"}, {IdToDxfMemoCaption, "DXFで保存"}, {IdToDwgMemoCaption, "DWGで保存"}};
    for (const auto& [id, caption] : captions) EXPECT_EQ(WindowText(Control(id)), caption) << id;

    std::vector<std::string> menu;
    const auto text = [](HMENU m, UINT position) {
        char item[64] = {};
        ::GetMenuStringA(m, position, item, sizeof(item), MF_BYPOSITION);
        return std::string(item);
    };
    HMENU bar = ::GetMenu(Main());
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        menu.push_back(text(bar, static_cast<UINT>(i)));
        HMENU sub = ::GetSubMenu(bar, i);
        for (int j = 0; j < ::GetMenuItemCount(sub); ++j) menu.push_back("  " + text(sub, static_cast<UINT>(j)));
    }
    EXPECT_EQ(menu, (std::vector<std::string>{"ファイル", "  実行ログのフォルダを開く", "  ", "  終了",
                                              "設定", "  環境設定", "  ", "  更新された図面だけ変換",
                                              "  同時に使うAutoCAD", "  実行ログを残す", "ヘルプ",
                                              "  ヘルプ表示", "  バージョン情報"}));
    // "1" to "8" with the count of the settings (none: 1) checked; no log folder yet.
    HMENU counts = ::GetSubMenu(::GetSubMenu(bar, 1), 3);
    std::vector<std::string> items;
    for (int j = 0; j < ::GetMenuItemCount(counts); ++j) items.push_back(text(counts, static_cast<UINT>(j)));
    EXPECT_EQ(items, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_TRUE(::GetMenuState(counts, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(::GetMenuState(counts, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(::GetMenuState(bar, IdOpenLogFolderMenu, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(bar, IdUpdateOnlyMenu, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED));
    EXPECT_EQ(WindowText(app->AboutBox().Handle()), "バージョン情報");
    EXPECT_EQ(WindowText(app->FileTypeDlg().Handle()), "Tovimoメッセージ");
}

TEST_F(MainWindowTest, ANewDisplayScaleLaysEveryControlOutAgain) {
    Start();
    Drop({drawings + "A.dwg"});
    const auto widthOf = [&](int id) {
        RECT rect;
        ::GetWindowRect(Control(id), &rect);
        return rect.right - rect.left;
    };
    EXPECT_EQ(widthOf(IdToDxfBitBtn), ScaleToDpi(97, app->Form1().Dpi()));
    RECT suggested = WindowRect();
    suggested.right = suggested.left + 411;
    suggested.bottom = suggested.top + 1113;
    ::SendMessageA(Main(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(app->Form1().Dpi(), 144);
    EXPECT_EQ(widthOf(IdToDxfBitBtn), 146);
    EXPECT_EQ(widthOf(IdPanel4), 165);
    EXPECT_EQ(WindowRect().bottom - WindowRect().top, 1113);
    // The settings panel's step follows the scale too.
    ::SendMessageA(Main(), WM_COMMAND, IdSettingOpenMenu, 0);
    EXPECT_EQ(WindowRect().bottom - WindowRect().top, 1113 + 525);
    // The drawing's icon is still in the images, at the new size.
    HWND tree = Control(IdTreeView1);
    const HIMAGELIST images = TreeView_GetImageList(tree, TVSIL_NORMAL);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 24);
    TVITEMA item{};
    item.mask = TVIF_IMAGE;
    item.hItem = TreeView_GetRoot(tree);
    ASSERT_TRUE(TreeView_GetItem(tree, &item));
    EXPECT_GE(item.iImage, 1);
    EXPECT_LT(item.iImage, ImageList_GetImageCount(images));
}

// Marks a folder as last read a day ago, as a folder whose content changed
// since anyone last looked into it.
void MarkReadLongAgo(const std::string& path) {
    HANDLE handle = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << path;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{};
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart -= 24ULL * 3600 * 10000000;
    const FILETIME dayAgo{time.LowPart, time.HighPart};
    EXPECT_TRUE(::SetFileTime(handle, nullptr, &dayAgo, nullptr));
    ::CloseHandle(handle);
}

TEST_F(MainWindowTest, TheFolderPickerOpensAtTheOutputFolderAndHandsItBack) {
    Start();
    // Under Wine, the picker's own look-up of the start folder reads such a
    // folder and so changes its access time, which Wine's picker holds part
    // of a folder's identity: the start folder is not found the first time.
    MarkReadLongAgo(folder.Path().substr(0, folder.Path().size() - 1));
    const std::string start = drawings.substr(0, drawings.size() - 1);
    std::string folder = start;
    bool chosen = false;
    // The picker selects the folder after it has shown: OK waits for that.
    const auto folderSelected = [](HWND dialog) {
        HWND tree = ::FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
        for (HWND child = ::FindWindowExA(dialog, nullptr, nullptr, nullptr); !tree && child;
             child = ::FindWindowExA(dialog, child, nullptr, nullptr))
            tree = ::FindWindowExA(child, nullptr, WC_TREEVIEWA, nullptr);
        if (!tree) return false;
        char text[MAX_PATH] = {};
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = TreeView_GetSelection(tree);
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        return item.hItem && TreeView_GetItem(tree, &item) && std::string(text) == "図面";
    };
    {
        ModalAnswerer answer("#32770", IDOK, folderSelected);
        chosen = win32::BrowseFolder(Main(), "変換後データ保存先", L"", folder);
    }
    EXPECT_TRUE(chosen);
    EXPECT_EQ(folder, start);
    // A folder that is gone: nothing preselected, and a cancel empties it.
    folder = program + "gone";
    {
        ModalAnswerer answer("#32770", IDCANCEL);
        chosen = win32::BrowseFolder(Main(), "変換後データ保存先", L"", folder);
    }
    EXPECT_FALSE(chosen);
    EXPECT_EQ(folder, "");
}

TEST_F(MainWindowTest, AWindowStoredOffEveryScreenIsPulledBackOntoOne) {
    WriteWholeFile(program + "tovimo.ini", "[MainForm]\r\nTop=-5000\r\nLeft=90000\r\n");
    Start();
    const RECT rect = WindowRect();
    EXPECT_TRUE(::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr);
    CloseWindow();
}

TEST(TovimoProgram, PathsOnTheCommandLineAreTakenAsADrop) {
    TempFolder folder("tovimo-cmdline");
    const std::string program = folder.MakeFolder("program");
    ASSERT_TRUE(CopyInto(BinFolder() + "Tovimo.exe", program));
    const std::string drawings = folder.MakeFolder("drawings");
    WriteWholeFile(drawings + "a.dwg", "x");
    WriteWholeFile(drawings + "b.dwg", "x");
    StartedProgram tovimo("\"" + program + "Tovimo.exe\" \"" + drawings + "a.dwg\" \"" + drawings + "b.dwg\"");
    ASSERT_TRUE(tovimo.Started());
    HWND main = WaitForVisibleWindow("TForm1", tovimo.ProcessId(), 20000);
    ASSERT_NE(main, nullptr);
    HWND tree = ::FindWindowExA(::FindWindowExA(main, nullptr, "TovimoPanel", nullptr), nullptr, WC_TREEVIEWA, nullptr);
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageA(tree, TVM_GETCOUNT, 0, 0) == 2; }, 10000));
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(tovimo.WaitForExit(15000), std::optional<DWORD>(0));
    EXPECT_TRUE(FileExists(program + "tovimo.ini"));
}

}  // namespace
}  // namespace tovimo::wine_tests
