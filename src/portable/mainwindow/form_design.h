#pragma once
// The forms of the window program as designed: every control's place in
// pixels at 96 DPI, its kind and its text. The Win32 side creates the
// controls from these tables and scales the places to the display; the
// tests check the tables for overlaps at every scale.
#include <span>
#include <string_view>

#include "mainwindow/form_scale.h"

namespace tovimo {

enum class ControlKind {
    Panel,        // a plain area that holds other controls
    TreeView,
    Button,       // a push button with a 16 x 16 glyph
    BoldButton,
    PlainButton,  // a push button without glyph
    CheckBox,     // the text right of the box
    LeftCheckBox, // the text left of the box
    Label,        // size 0 x 0: as large as its text
    BoldLabel,
    RightLabel,   // right-aligned in its place
    Edit,
    Memo,
    Frame,
    ProgressBar,
    ListBox,
    Picture,
};

// The glyph a button shows.
enum class Glyph { None, ToDxf, ToDwg, Clear, Folder, Cancel, Close, Acad, SettingClose, Dwg, Dxf, Ok };

// Identifiers of the controls (and menu items) of all forms.
enum ControlId : int {
    // Main window: the column of Panel4.
    IdPanel3 = 100, IdPanel4, IdPanel1, IdPanel2, IdTreeView1,
    IdLabel1, IdDwgNoLabel, IdLabel2, IdRewiteChkBox, IdGetChildFolderCheckBox,
    IdToDxfBitBtn, IdToDwgBitBtn, IdClearBitBtn, IdSaveDirBitBtn, IdCancelBitBtn, IdCloseBitBtn,
    // Panel1.
    IdSaveDirCaption, IdSaveDirLabel, IdProgressBar1,
    // Panel2, the settings panel.
    IdAcadBitBtn, IdAcadPathLabel, IdAcadArgCaption, IdAcadArgEdit, IdSettingCloseBitBtn,
    IdWaitFrame, IdWaitCaption, IdAcadStartCaption, IdAcadStartEdit, IdSecCaption,
    IdCommandWaitCaption, IdCommandWaitEdit, IdMsecCaption,
    IdAcadCloseChkBox, IdSaveSameDirChkBox, IdSavetmpdwgChkBox, IdSaveChildDirCheckBox,
    IdDYNCancelChkBox, IdVariableFrame, IdVariableCaption, IdISaveBakCaption, IdISaveBakEdit,
    IdFileDiaCaption, IdFileDiaEdit, IdProxyNoticeCaption, IdProxyNoticeEdit,
    IdMacroFrame, IdMacroCaption, IdToDxfMemoCaption, IdToDxfMemo, IdToDwgMemoCaption, IdToDwgMemo,
    // Menus.
    IdExit1 = 300, IdSettingOpenMenu, IdShowHelpMenu, IdAboutVer, IdDeletePop, IdAllDeletePop,
    IdUpdateOnlyMenu, IdRunLogMenu, IdOpenLogFolderMenu,
    IdAcadCountMenu1, IdAcadCountMenu8 = IdAcadCountMenu1 + 7,  // "1" to "8"
    // Dialogs.
    IdBevel1 = 400, IdDialogLabel1, IdDialogLabel2, IdDialogLabel3, IdDwgBitBtn, IdDxfBitBtn,
    IdListBox1, IdOKButton = 1,  // IDOK: Enter presses it
    IdAboutPanel = 420, IdProgramIcon, IdNameLabel, IdVersion, IdVersionNumber, IdImage1,
    IdPublisher1, IdPublisher2, IdPublisher3,
};

struct ControlDesign {
    int id;
    ControlKind kind;
    int parent;  // the id of the panel that holds it, 0 for the form itself
    std::string_view text;
    DesignRect place;
    Glyph glyph = Glyph::None;
};

// The main window's fixed design values.
namespace main_form {
constexpr int DesignLeft = 203;
constexpr int DesignTop = 113;
constexpr int DesignWidth = 274;
constexpr int DesignHeight = 742;
constexpr int UpperAreaHeight = 280;
constexpr int ColumnWidth = 110;      // Panel4
constexpr int StripHeight = 40;       // Panel1
constexpr int SettingsHeight = 368;   // Panel2
constexpr int SettingsStep = 350;     // what opening the panel adds to the window
constexpr int ProgressHeight = 14;
constexpr int FontPixels = 12;
constexpr std::string_view Caption = "Tovimo   Ver. 1.90";
}  // namespace main_form

// The controls inside Panel4, Panel1 and Panel2, in creation (tab) order.
// Panel1's progress bar is placed by LayOutMainForm, not by this table.
std::span<const ControlDesign> MainFormControls();

struct DialogDesign {
    std::string_view caption;
    int clientWidth;
    int clientHeight;
    std::span<const ControlDesign> controls;
};

DialogDesign FileTypeDlgDesign();
DialogDesign SkipFormDesign();
DialogDesign AboutBoxDesign();

}  // namespace tovimo
