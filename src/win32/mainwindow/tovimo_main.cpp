#include "mainwindow/tovimo_main.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <shellapi.h>

#include "mainwindow/about_box.h"
#include "mainwindow/browse_folder.h"
#include "mainwindow/file_type_dlg.h"
#include "mainwindow/glyphs.h"
#include "mainwindow/main_form_layout.h"
#include "mainwindow/panel.h"
#include "mainwindow/skip_form.h"
#include "platform/com_apartment.h"
#include "platform/narrow_text.h"

namespace tovimo::win32 {

namespace {

constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr const char* HelpFileName = "Tovimohelp.html";
constexpr const char* DynCancelHint = "AutoCAD(LT)2006以降のバージョンのみONにしてください。";

std::wstring Wide(const std::string& text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The line of a drawing in TSkipForm's list: the name, and after it the
// reason when it is none of the two that the window's labels name.
std::string SkipLine(const SkippedDrawing& drawing) {
    if (drawing.reason == SkipReason::ResultExists || drawing.reason == SkipReason::OpenFailed)
        return drawing.name;
    return drawing.name + "  (" + SkipReasonText(drawing.reason) + ")";
}

}  // namespace

TForm1::TForm1(MainFormPlatform platform, WindowRunThread& runs, std::string programFolder)
    : logic_(platform, *this, programFolder),
      runs_(runs),
      programFolder_(std::move(programFolder)),
      treeView_(logic_.List().Tree()) {}

TForm1::~TForm1() {
    logic_.List().Tree().SetObserver(nullptr);
    if (tooltip_) ::DestroyWindow(tooltip_);
    for (HIMAGELIST list : buttonGlyphs_) ImageList_Destroy(list);
    if (imageList1_) ImageList_Destroy(imageList1_);
}

bool TForm1::Create() {
    if (!CreateForm("TForm1", std::string(main_form::Caption),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_CONTROLPARENT,
                    nullptr, 0, 0))
        return false;
    // The window's design place and size, scaled to the display.
    ::SetWindowPos(Handle(), nullptr, Scale(main_form::DesignLeft), Scale(main_form::DesignTop),
                   Scale(main_form::DesignWidth), Scale(main_form::DesignHeight),
                   SWP_NOZORDER | SWP_NOACTIVATE);

    MakeMenus();

    for (int id : {IdPanel3, IdPanel4, IdPanel1, IdPanel2}) RegisterControl(id, CreatePanel(Handle(), id, false));
    MakeImages();
    RegisterControl(IdTreeView1, treeView_.Create(Control(IdPanel3), IdTreeView1, imageList1_, Scale(19)));
    CreateControls(MainFormControls());
    progressBar_ = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                     Control(IdPanel1),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdProgressBar1)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    RegisterControl(IdProgressBar1, progressBar_);
    ::ShowWindow(Control(IdPanel2), SW_HIDE);
    MakeButtonGlyphs();
    MakeHints();
    PlaceControls();
    LayOut();

    // Files dropped anywhere on the window arrive as WM_DROPFILES.
    ::DragAcceptFiles(Handle(), TRUE);
    runs_.SetWindow(Handle());
    logic_.FormCreate();
    PushControls();
    StateChanged();
    return true;
}

void TForm1::MakeMenus() {
    menu_ = ::CreateMenu();
    fileMenu_ = ::CreatePopupMenu();
    ::AppendMenuA(fileMenu_, MF_STRING, IdOpenLogFolderMenu, "実行ログのフォルダを開く");
    ::AppendMenuA(fileMenu_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(fileMenu_, MF_STRING, IdExit1, "終了");
    acadCountMenu_ = ::CreatePopupMenu();
    for (int count = MinAcadCount; count <= MaxAcadCount; ++count)
        ::AppendMenuA(acadCountMenu_, MF_STRING, IdAcadCountMenu1 + count - 1,
                      std::to_string(count).c_str());
    settingsMenu_ = ::CreatePopupMenu();
    ::AppendMenuA(settingsMenu_, MF_STRING, IdSettingOpenMenu, "環境設定");
    ::AppendMenuA(settingsMenu_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(settingsMenu_, MF_STRING, IdUpdateOnlyMenu, "更新された図面だけ変換");
    ::AppendMenuA(settingsMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(acadCountMenu_),
                  "同時に使うAutoCAD");
    ::AppendMenuA(settingsMenu_, MF_STRING, IdRunLogMenu, "実行ログを残す");
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuA(help, MF_STRING, IdShowHelpMenu, "ヘルプ表示");
    ::AppendMenuA(help, MF_STRING, IdAboutVer, "バージョン情報");
    ::AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(fileMenu_), "ファイル");
    ::AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(settingsMenu_), "設定");
    ::AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "ヘルプ");
    ::SetMenu(Handle(), menu_);
}

void TForm1::ShowMenuStates() {
    if (!menu_) return;
    const ControlStates& s = logic_.States;
    const SettingsControls& c = logic_.Controls;
    const auto enable = [](HMENU menu, UINT item, UINT by, bool enabled) {
        ::EnableMenuItem(menu, item, by | (enabled ? MF_ENABLED : MF_GRAYED));
    };
    enable(menu_, IdAboutVer, MF_BYCOMMAND, s.AboutVer);
    enable(menu_, IdOpenLogFolderMenu, MF_BYCOMMAND, s.OpenLogFolderMenu);
    enable(menu_, IdUpdateOnlyMenu, MF_BYCOMMAND, s.RunOptionMenus);
    enable(menu_, IdRunLogMenu, MF_BYCOMMAND, s.RunOptionMenus);
    // The submenu's own item, the fourth of "設定" (after "環境設定", the
    // line and "更新された図面だけ変換").
    enable(settingsMenu_, 3, MF_BYPOSITION, s.RunOptionMenus);
    ::CheckMenuItem(menu_, IdUpdateOnlyMenu, MF_BYCOMMAND | (c.UpdateOnlyMenu ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(menu_, IdRunLogMenu, MF_BYCOMMAND | (c.RunLogMenu ? MF_CHECKED : MF_UNCHECKED));
    // A count outside 1 to 8 (from the file) checks none.
    for (int count = MinAcadCount; count <= MaxAcadCount; ++count)
        ::CheckMenuItem(acadCountMenu_, IdAcadCountMenu1 + count - 1, MF_BYCOMMAND | MF_UNCHECKED);
    if (c.AcadCountMenu >= MinAcadCount && c.AcadCountMenu <= MaxAcadCount)
        ::CheckMenuRadioItem(acadCountMenu_, IdAcadCountMenu1, IdAcadCountMenu8,
                             IdAcadCountMenu1 + c.AcadCountMenu - 1, MF_BYCOMMAND);
    ::DrawMenuBar(Handle());
}

void TForm1::SetDialogs(TAboutBox& about, TSkipForm& skip, TFileTypeDlg& fileType) {
    about_ = &about;
    skip_ = &skip;
    fileType_ = &fileType;
}

void TForm1::MakeImages() {
    if (imageList1_) ImageList_Destroy(imageList1_);
    const int size = Scale(16);
    imageList1_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 4, 4);
    AddGlyph(imageList1_, Glyph::Folder, size);
    // At a new size the drawing icons come again in the same order, so that
    // the nodes' image indices still name them.
    for (const std::string& path : iconPaths_) AppendFileIcon(path);
}

void TForm1::MakeButtonGlyphs() {
    const int size = Scale(16);
    for (HIMAGELIST list : buttonGlyphs_) ImageList_Destroy(list);
    buttonGlyphs_.clear();
    for (const ControlDesign& design : MainFormControls()) {
        if (design.glyph == Glyph::None) continue;
        HIMAGELIST glyphs = CreateButtonGlyphs(design.glyph, size);
        buttonGlyphs_.push_back(glyphs);
        BUTTON_IMAGELIST images{glyphs, {Scale(4), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
        if (HWND button = Control(design.id))
            ::SendMessageA(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    }
}

void TForm1::MakeHints() {
    tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Handle(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
    for (int id : {IdSaveDirBitBtn, IdSaveDirLabel, IdDYNCancelChkBox}) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
        tool.lpszText = const_cast<char*>("");
        ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SetHint(IdDYNCancelChkBox, DynCancelHint);
}

void TForm1::SetHint(int id, const std::string& text) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
    tool.lpszText = const_cast<char*>(text.c_str());
    ::SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm1::LayOut() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    const MainFormLayout layout = LayOutMainForm(client.right, client.bottom,
                                                 logic_.Controls.Panel2Visible, Dpi());
    const auto place = [](HWND window, const DesignRect& r) {
        ::SetWindowPos(window, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(Control(IdPanel3), layout.Panel3);
    place(Control(IdPanel4), layout.Panel4);
    place(Control(IdPanel1), layout.Panel1);
    place(progressBar_, layout.ProgressBar1);
    place(treeView_.Handle(), {0, 0, layout.Panel3.width, layout.Panel3.height});
    ::ShowWindow(Control(IdPanel2), logic_.Controls.Panel2Visible ? SW_SHOW : SW_HIDE);
    if (logic_.Controls.Panel2Visible) place(Control(IdPanel2), layout.Panel2);
}

void TForm1::Show() {
    RECT rect;
    ::GetWindowRect(Handle(), &rect);
    logic_.FormShow(rect.top, rect.left, rect.right - rect.left, rect.bottom - rect.top);
    PushControls();
    PlaceWindow();
    ::ShowWindow(Handle(), SW_SHOW);
    ::UpdateWindow(Handle());
    StateChanged();
}

void TForm1::PlaceWindow() {
    const SettingsControls& c = logic_.Controls;
    DesignRect place{c.Left, c.Top, c.Width, c.Height};
    // A place that lies on no screen any more (a monitor removed, a smaller
    // display) is pulled onto the nearest one.
    const RECT wanted{c.Left, c.Top, c.Left + c.Width, c.Top + c.Height};
    if (!::MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (::GetMonitorInfoA(::MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            place = PullOntoScreen(place, {work.left, work.top, work.right - work.left, work.bottom - work.top});
        }
    }
    ::SetWindowPos(Handle(), nullptr, place.left, place.top, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

void TForm1::TakePaths(const std::vector<std::string>& paths,
                       const std::vector<std::string>& unnamed) {
    treeView_.BeginFill();
    PullControls();
    logic_.WMDropFiles(paths, unnamed);
    treeView_.EndFill();
}

void TForm1::SetCommandLinePaths(GivenPaths given) {
    commandLinePaths_ = std::move(given);
}

void TForm1::WMDropFiles(HDROP drop) {
    std::vector<std::string> paths;
    std::vector<std::string> unnamed;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // As long as the path is: a cut path would name another file. Read
        // wide, so that a name the code page lacks is told, not turned into
        // "?" or into a look-alike that names another path.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied);
        if (std::optional<std::string> narrow = ToNarrowExactly(path.c_str(), CP_ACP)) {
            paths.push_back(std::move(*narrow));
        } else {
            unnamed.push_back(ToNarrowShown(path.c_str(), CP_ACP));
        }
    }
    ::DragFinish(drop);
    TakePaths(paths, unnamed);
}

void TForm1::PushControls() {
    const SettingsControls& c = logic_.Controls;
    const auto setText = [this](int id, const std::string& text) {
        ::SetWindowTextA(Control(id), text.c_str());
    };
    const auto setCheck = [this](int id, bool checked) {
        ::SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    setText(IdCommandWaitEdit, c.CommandWaitEdit);
    setText(IdAcadStartEdit, c.AcadStartEdit);
    setText(IdFileDiaEdit, c.FileDiaEdit);
    setText(IdISaveBakEdit, c.ISaveBakEdit);
    setText(IdProxyNoticeEdit, c.ProxyNoticeEdit);
    setText(IdAcadArgEdit, c.AcadArgEdit);
    setText(IdToDxfMemo, logic_.ToDxfMemo);
    setText(IdToDwgMemo, logic_.ToDwgMemo);
    setCheck(IdRewiteChkBox, c.RewiteChkBox);
    setCheck(IdAcadCloseChkBox, c.AcadCloseChkBox);
    setCheck(IdSavetmpdwgChkBox, c.savetmpdwgChkBox);
    setCheck(IdSaveSameDirChkBox, c.SaveSameDirChkBox);
    setCheck(IdGetChildFolderCheckBox, c.GetChildFolderCheckBox);
    setCheck(IdSaveChildDirCheckBox, c.SaveChildDirCheckBox);
    setCheck(IdDYNCancelChkBox, c.DYNCancelChkBox);
}

void TForm1::PullControls() {
    SettingsControls& c = logic_.Controls;
    const auto text = [this](int id) { return WindowText(Control(id)); };
    const auto checked = [this](int id) {
        return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    // The window's own place and size, also when it is minimised.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    RECT rect{};
    if (::IsIconic(Handle()) && ::GetWindowPlacement(Handle(), &placement)) {
        rect = placement.rcNormalPosition;
    } else {
        ::GetWindowRect(Handle(), &rect);
    }
    c.Top = rect.top;
    c.Left = rect.left;
    c.Width = rect.right - rect.left;
    c.Height = rect.bottom - rect.top;
    c.CommandWaitEdit = text(IdCommandWaitEdit);
    c.AcadStartEdit = text(IdAcadStartEdit);
    c.FileDiaEdit = text(IdFileDiaEdit);
    c.ISaveBakEdit = text(IdISaveBakEdit);
    c.ProxyNoticeEdit = text(IdProxyNoticeEdit);
    c.AcadArgEdit = text(IdAcadArgEdit);
    logic_.ToDxfMemo = text(IdToDxfMemo);
    logic_.ToDwgMemo = text(IdToDwgMemo);
    c.RewiteChkBox = checked(IdRewiteChkBox);
    c.AcadCloseChkBox = checked(IdAcadCloseChkBox);
    c.savetmpdwgChkBox = checked(IdSavetmpdwgChkBox);
    c.SaveSameDirChkBox = checked(IdSaveSameDirChkBox);
    c.GetChildFolderCheckBox = checked(IdGetChildFolderCheckBox);
    c.SaveChildDirCheckBox = checked(IdSaveChildDirCheckBox);
    c.DYNCancelChkBox = checked(IdDYNCancelChkBox);
}

void TForm1::StateChanged() {
    const ControlStates& s = logic_.States;
    const auto enable = [this](int id, bool enabled) {
        if (HWND control = Control(id)) ::EnableWindow(control, enabled ? TRUE : FALSE);
    };
    enable(IdToDxfBitBtn, s.ToDxfBitBtn);
    enable(IdToDwgBitBtn, s.ToDwgBitBtn);
    enable(IdClearBitBtn, s.ClearBitBtn);
    enable(IdCancelBitBtn, s.CancelBitBtn);
    enable(IdCloseBitBtn, s.CloseBitBtn);
    enable(IdSaveDirBitBtn, s.SaveDirBitBtn);
    enable(IdSaveChildDirCheckBox, s.SaveChildDirCheckBox);
    enable(IdAcadBitBtn, s.AcadBitBtn);
    ShowMenuStates();
    treeView_.AllowLabelEditing(s.TreeLabelEdit);
    if (sessionEndBlocked_ && !logic_.RunUnderWay()) {
        ::ShutdownBlockReasonDestroy(Handle());
        sessionEndBlocked_ = false;
    }
    ::SetWindowTextA(Control(IdDwgNoLabel), std::to_string(logic_.List().DwgCount).c_str());
    ::SetWindowTextA(Control(IdSaveDirLabel), logic_.SaveDirLabel.c_str());
    ::SetWindowTextA(Control(IdAcadPathLabel), logic_.AcadPathLabel.c_str());
    for (int id : {IdSaveDirLabel, IdAcadPathLabel})
        for (const ControlDesign& design : MainFormControls())
            if (design.id == id) PlaceControl(design, Control(id));
    SetHint(IdSaveDirLabel, logic_.SaveDirHint);
    SetHint(IdSaveDirBitBtn, logic_.Controls.SaveSameDirChkBox ? std::string() : logic_.Controls.SaveDir);
}

void TForm1::PopupMenu1(POINT at) {
    logic_.PopupMenu1Popup();
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING | (logic_.States.DeletePop ? 0 : MF_GRAYED), IdDeletePop,
                  "選択ファイルを取り消し");
    ::AppendMenuA(popup, MF_STRING | (logic_.States.AllDeletePop ? 0 : MF_GRAYED), IdAllDeletePop,
                  "すべて取り消し");
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
    ::DestroyMenu(popup);
}

void TForm1::ToDxfBitBtnClick() {
    PullControls();
    logic_.ToDxfBitBtnClick();
}

void TForm1::ToDwgBitBtnClick() {
    PullControls();
    logic_.ToDwgBitBtnClick();
}

void TForm1::CancelBitBtnClick() { logic_.CancelBitBtnClick(); }

void TForm1::ChangeHeight(int delta) {
    if (delta == 0) return;
    RECT rect;
    ::GetWindowRect(Handle(), &rect);
    ::SetWindowPos(Handle(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + delta,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    // The strip and its labels have moved: all of it is painted anew, not
    // only what the move uncovered.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm1::SettingOpenMenuClick() { ChangeHeight(logic_.SettingOpenMenuClick(Dpi())); }
void TForm1::SettingCloseBitBtnClick() { ChangeHeight(logic_.SettingCloseBitBtnClick(Dpi())); }

void TForm1::ShowHelpMenuClick() {
    // What the shell makes of it is not looked at: a missing page shows nothing.
    const std::string page = programFolder_ + HelpFileName;
    // The shell needs COM on the calling thread for associations and icons.
    EnsureComApartment();
    ::ShellExecuteA(Handle(), nullptr, page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::AboutVerClick() { logic_.AboutVerClick(); }

void TForm1::ShowAbout() {
    if (about_) about_->ShowModal();
}

void TForm1::Exit1Click() { ::SendMessageA(Handle(), WM_CLOSE, 0, 0); }

void TForm1::OpenFolder(const std::string& folder) {
    EnsureComApartment();
    ::ShellExecuteA(Handle(), "explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

DrawingKind TForm1::AskFileType() {
    return fileType_ && fileType_->AskFileType() ? DrawingKind::Dwg : DrawingKind::Dxf;
}

void TForm1::ShowMessage(const std::string& text, const std::string& caption) {
    ::MessageBoxA(Handle(), text.c_str(), caption.c_str(), MB_OK);
}

int TForm1::AddFileIcon(const std::string& path) {
    iconPaths_.push_back(path);
    return AppendFileIcon(path);
}

int TForm1::AppendFileIcon(const std::string& path) {
    SHFILEINFOA info{};
    EnsureComApartment();
    const DWORD_PTR found = ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info),
                                             SHGFI_ICON | SHGFI_DISPLAYNAME |
                                                 SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);
    int index = -1;
    if (found && info.hIcon) {
        index = ImageList_AddIcon(imageList1_, info.hIcon);
        ::DestroyIcon(info.hIcon);
    }
    // Without an icon of its type a drawing gets the program's own sheet.
    if (index < 0) index = AddGlyph(imageList1_, Glyph::Dwg, Scale(16));
    return index;
}

bool TForm1::GetChildFolderChecked() {
    return ::SendMessageA(Control(IdGetChildFolderCheckBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TForm1::EnableCancel(bool enabled) { ::EnableWindow(Control(IdCancelBitBtn), enabled ? TRUE : FALSE); }

void TForm1::SetProgressRange(int maximum) {
    ::SendMessageA(progressBar_, PBM_SETRANGE32, 0, maximum);
}

void TForm1::SetProgressPosition(int position) {
    ::SendMessageA(progressBar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// In the title, where an unattended run is seen from the task bar too.
void TForm1::ShowRunStatus(const std::string& text) {
    std::string title(main_form::Caption);
    if (!text.empty()) title += " - " + text;
    ::SetWindowTextA(Handle(), title.c_str());
}

void TForm1::ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) {
    if (!skip_) return;
    std::vector<std::string> lines;
    for (const SkippedDrawing& drawing : skipped) lines.push_back(SkipLine(drawing));
    skip_->SetLines(lines);
    skip_->ShowModal();
}

std::optional<std::string> TForm1::ChooseAcadProgram(const std::string& current) {
    char file[MAX_PATH * 4] = {};
    current.copy(file, sizeof(file) - 1);
    static const char filter[] = "AutoCadプログラム\0a*.exe\0";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameA(&dialog)) return std::nullopt;
    return std::string(file);
}

bool TForm1::BrowseFolder(const std::string& title, const std::string& rootName,
                          std::string& folder) {
    return win32::BrowseFolder(Handle(), title, Wide(rootName), folder);
}

void TForm1::CloseWindow() { ::PostMessageA(Handle(), WM_CLOSE, 0, 0); }

void TForm1::Command(int id, int code) {
    switch (id) {
        case IdToDxfBitBtn: ToDxfBitBtnClick(); break;
        case IdToDwgBitBtn: ToDwgBitBtnClick(); break;
        case IdCancelBitBtn: CancelBitBtnClick(); break;
        case IdClearBitBtn:
        case IdAllDeletePop: logic_.AllDeletePopClick(); break;
        case IdDeletePop: logic_.DeletePopClick(); break;
        case IdSaveDirBitBtn: PullControls(); logic_.SaveDirBitBtnClick(); break;
        case IdCloseBitBtn:
        case IdExit1: Exit1Click(); break;
        case IdSettingOpenMenu: SettingOpenMenuClick(); break;
        case IdSettingCloseBitBtn: SettingCloseBitBtnClick(); break;
        case IdAcadBitBtn: logic_.AcadBitBtnClick(); break;
        case IdShowHelpMenu: ShowHelpMenuClick(); break;
        case IdAboutVer: AboutVerClick(); break;
        case IdUpdateOnlyMenu: logic_.UpdateOnlyMenuClick(); break;
        case IdRunLogMenu: logic_.RunLogMenuClick(); break;
        case IdOpenLogFolderMenu: logic_.OpenLogFolderMenuClick(); break;
        case IdSaveSameDirChkBox:
            if (code == BN_CLICKED)
                logic_.SaveSameDirChkBoxClick(::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED);
            break;
        default:
            if (id >= IdAcadCountMenu1 && id <= IdAcadCountMenu8)
                logic_.AcadCountMenuClick(id - IdAcadCountMenu1 + 1);
            break;
    }
}

void TForm1::DpiChanged(const RECT& suggested) {
    FormWindow::DpiChanged(suggested);
    MakeImages();
    MakeButtonGlyphs();
    ::SendMessageA(treeView_.Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(imageList1_));
    treeView_.SetIndent(Scale(19));
}

LRESULT TForm1::QueryEndSession() {
    // Idle: yes, and the settings are saved when the session ends. During a
    // run: no, with the reason, and nothing else: the user may call the
    // logoff off on Windows' screen, and the run goes on.
    if (logic_.QueryEndSession()) return TRUE;
    if (!sessionEndBlocked_) sessionEndBlocked_ = ::ShutdownBlockReasonCreate(Handle(), SessionEndBlockReason) != FALSE;
    return FALSE;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DROPFILES:
            WMDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            if (reinterpret_cast<HMENU>(wParam) == fileMenu_) logic_.FileMenuPopup();
            return 0;
        case WM_TOVIMO_COMMANDLINE: {
            if (commandLinePaths_.paths.empty() && commandLinePaths_.unnamed.empty()) return 0;
            const GivenPaths given = std::move(commandLinePaths_);
            commandLinePaths_ = GivenPaths();
            TakePaths(given.paths, given.unnamed);
            return 0;
        }
        case WM_TOVIMO_RUNCALL:
            runs_.RunCall();
            return 0;
        case WM_TOVIMO_RUNENDED:
            runs_.RunEnded();
            return 0;
        case WM_QUERYENDSESSION:
            return QueryEndSession();
        case WM_ENDSESSION:
            // The session ends now, run or not: the process may be ended
            // as soon as this returns. Called off (FALSE): nothing changes.
            if (wParam && !closing_) {
                PullControls();
                logic_.EndSession(true);
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            LRESULT result = 0;
            if (header->idFrom == IdTreeView1 && treeView_.Notify(*header, result)) return result;
            break;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == treeView_.Handle()) {
                POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (lParam == -1) {
                    RECT rect;
                    ::GetWindowRect(treeView_.Handle(), &rect);
                    at = {rect.left, rect.top};
                }
                PopupMenu1(at);
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC: {
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (id == IdSaveDirLabel) ::SetTextColor(dc, Blue);
            if (id == IdAcadPathLabel) ::SetTextColor(dc, Red);
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SIZE:
            LayOut();
            break;
        case WM_GETMINMAXINFO: {
            // Opening the settings panel adds its full step even on a
            // screen too low for it, so that closing it again gives back
            // the height the window had.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMaxTrackSize.y = (std::max<LONG>)(limits->ptMaxTrackSize.y, 4 * ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
            return 0;
        }
        case WM_DPICHANGED: {
            const LRESULT result = FormWindow::HandleMessage(message, wParam, lParam);
            LayOut();
            return result;
        }
        case WM_CLOSE:
            if (closing_) return 0;
            // During a run the window stays: the run is cancelled, and the
            // window closes once it has ended.
            if (!logic_.FormCloseQuery()) return 0;
            closing_ = true;
            PullControls();
            logic_.FormClose();
            ::DestroyWindow(Handle());
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default: break;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace tovimo::win32
