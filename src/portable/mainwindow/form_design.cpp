#include "mainwindow/form_design.h"

namespace tovimo {

namespace {

using K = ControlKind;
using G = Glyph;

constexpr ControlDesign MainControls[] = {
    // The column of controls on the right.
    {IdLabel1, K::Label, IdPanel4, "選択図面", {8, 16, 0, 0}},
    // Wide enough for five digits: a drop of 99,999 drawings shows whole.
    {IdDwgNoLabel, K::RightLabel, IdPanel4, "0", {58, 16, 36, 13}},
    {IdLabel2, K::Label, IdPanel4, "枚", {96, 16, 0, 0}},
    {IdRewiteChkBox, K::CheckBox, IdPanel4, "上書き保存", {8, 34, 97, 17}},
    {IdGetChildFolderCheckBox, K::CheckBox, IdPanel4, "子ﾌｫﾙﾀﾞも選択", {8, 58, 97, 17}},
    {IdToDxfBitBtn, K::Button, IdPanel4, "DXFで保存", {8, 80, 97, 25}, G::ToDxf},
    {IdToDwgBitBtn, K::Button, IdPanel4, "Dwgで保存", {8, 112, 97, 25}, G::ToDwg},
    {IdClearBitBtn, K::Button, IdPanel4, "　クリア", {8, 144, 97, 25}, G::Clear},
    {IdSaveDirBitBtn, K::Button, IdPanel4, "変換後ﾌｫﾙﾀﾞ", {8, 176, 97, 25}, G::Folder},
    {IdCancelBitBtn, K::Button, IdPanel4, "キャンセル", {8, 208, 97, 25}, G::Cancel},
    {IdCloseBitBtn, K::Button, IdPanel4, "　 終了", {8, 240, 97, 25}, G::Close},
    // The strip under the tree.
    {IdSaveDirCaption, K::Label, IdPanel1, "変換後", {8, 6, 0, 0}},
    {IdSaveDirLabel, K::Label, IdPanel1, "", {48, 6, 0, 0}},
    // The settings panel.
    {IdAcadBitBtn, K::BoldButton, IdPanel2, "AutoCAD指定", {8, 8, 117, 25}, G::Acad},
    {IdAcadPathLabel, K::Label, IdPanel2, "", {8, 40, 0, 0}},
    {IdAcadArgCaption, K::Label, IdPanel2, "コマンドラインスイッチ", {144, 8, 0, 0}},
    {IdAcadArgEdit, K::Edit, IdPanel2, "", {144, 24, 113, 20}},
    {IdSettingCloseBitBtn, K::Button, IdPanel2, "設定を閉じる", {162, 48, 95, 20}, G::SettingClose},
    {IdWaitFrame, K::Frame, IdPanel2, "", {8, 74, 249, 46}},
    {IdWaitCaption, K::Label, IdPanel2, "待ち時間", {16, 80, 0, 0}},
    {IdAcadStartCaption, K::Label, IdPanel2, "AutoCAD起動", {72, 80, 0, 0}},
    {IdAcadStartEdit, K::Edit, IdPanel2, "", {72, 96, 33, 20}},
    {IdSecCaption, K::Label, IdPanel2, "(sec)", {112, 104, 0, 0}},
    {IdCommandWaitCaption, K::Label, IdPanel2, "コマンド間", {152, 80, 0, 0}},
    {IdCommandWaitEdit, K::Edit, IdPanel2, "", {152, 96, 41, 20}},
    {IdMsecCaption, K::Label, IdPanel2, "(mm sec)", {200, 104, 0, 0}},
    {IdAcadCloseChkBox, K::LeftCheckBox, IdPanel2, "AutoCAD自動終了", {8, 128, 115, 17}},
    {IdSaveSameDirChkBox, K::LeftCheckBox, IdPanel2, "同じフォルダに保存", {136, 128, 115, 17}},
    {IdSavetmpdwgChkBox, K::LeftCheckBox, IdPanel2, "Tmp.dwg保存 ", {8, 145, 115, 17}},
    {IdSaveChildDirCheckBox, K::LeftCheckBox, IdPanel2, "変換後ﾌｫﾙﾀﾞ保持", {136, 145, 115, 17}},
    {IdDYNCancelChkBox, K::LeftCheckBox, IdPanel2, "DYN停止", {8, 162, 115, 17}},
    {IdVariableFrame, K::Frame, IdPanel2, "", {8, 184, 249, 49}},
    {IdVariableCaption, K::Label, IdPanel2, "終了時環境変数", {16, 192, 0, 0}},
    {IdISaveBakCaption, K::Label, IdPanel2, "ISAVEBAK", {152, 192, 0, 0}},
    {IdISaveBakEdit, K::Edit, IdPanel2, "", {224, 188, 25, 20}},
    {IdFileDiaCaption, K::Label, IdPanel2, "FILEDIA", {24, 216, 0, 0}},
    {IdFileDiaEdit, K::Edit, IdPanel2, "", {72, 212, 25, 20}},
    {IdProxyNoticeCaption, K::Label, IdPanel2, "PROXYNOTICE", {136, 216, 0, 0}},
    {IdProxyNoticeEdit, K::Edit, IdPanel2, "", {224, 212, 25, 20}},
    {IdMacroFrame, K::Frame, IdPanel2, "", {8, 240, 249, 121}},
    {IdMacroCaption, K::Label, IdPanel2, "AutoCADマクロ", {16, 242, 0, 0}},
    {IdToDxfMemoCaption, K::Label, IdPanel2, "DXFで保存", {16, 256, 0, 0}},
    {IdToDxfMemo, K::Memo, IdPanel2, "", {16, 272, 105, 81}},
    {IdToDwgMemoCaption, K::Label, IdPanel2, "DWGで保存", {144, 256, 0, 0}},
    {IdToDwgMemo, K::Memo, IdPanel2, "", {144, 272, 105, 81}},
};

constexpr ControlDesign FileTypeControls[] = {
    {IdBevel1, K::Frame, 0, "", {8, 8, 249, 145}},
    {IdDialogLabel1, K::BoldLabel, 0, "DwgとＤｘｆデータがDropされました。", {40, 24, 0, 0}},
    {IdDialogLabel2, K::BoldLabel, 0, "どちらのファイルを選びますか？", {48, 48, 0, 0}},
    {IdDwgBitBtn, K::Button, 0, "Dwgを選択", {72, 72, 121, 25}, G::Dwg},
    {IdDxfBitBtn, K::Button, 0, "Dxfを選択", {72, 112, 121, 25}, G::Dxf},
};

constexpr ControlDesign SkipControls[] = {
    {IdBevel1, K::Frame, 0, "", {0, 8, 257, 177}},
    {IdDialogLabel1, K::Label, 0, "これらの図面は、変換を行っていません", {24, 16, 0, 0}},
    {IdDialogLabel2, K::Label, 0, "変換後の同名のデータが存在するためか", {24, 36, 0, 0}},
    {IdDialogLabel3, K::Label, 0, "データをAutoCADで開けないためです。", {24, 56, 0, 0}},
    {IdListBox1, K::ListBox, 0, "", {32, 104, 201, 73}},
    {IdOKButton, K::PlainButton, 0, "OK", {95, 196, 75, 25}},
};

constexpr ControlDesign AboutControls[] = {
    {IdAboutPanel, K::Panel, 0, "", {8, 8, 281, 185}},
    {IdProgramIcon, K::Picture, IdAboutPanel, "", {8, 8, 80, 160}},
    {IdNameLabel, K::Label, IdAboutPanel, "Tovimo", {96, 8, 0, 0}},
    {IdVersion, K::Label, IdAboutPanel, "Version", {100, 48, 0, 0}},
    {IdVersionNumber, K::Label, IdAboutPanel, "1.90", {184, 48, 0, 0}},
    {IdImage1, K::Picture, IdAboutPanel, "", {232, 16, 33, 33}},
    {IdPublisher1, K::Label, IdAboutPanel, "Copyright (C) 2026 Tovimo", {96, 104, 0, 0}},
    {IdPublisher2, K::Label, IdAboutPanel, "Tovimo 開発チーム", {96, 128, 0, 0}},
    {IdPublisher3, K::Label, IdAboutPanel, "使い方は Tovimohelp.html に", {96, 152, 0, 0}},
    {IdOKButton, K::PlainButton, 0, "OK", {111, 204, 75, 25}},
};

}  // namespace

std::span<const ControlDesign> MainFormControls() { return MainControls; }

DialogDesign FileTypeDlgDesign() { return {"Tovimoメッセージ", 263, 160, FileTypeControls}; }
DialogDesign SkipFormDesign() { return {"Tovimoメッセージ", 263, 225, SkipControls}; }
DialogDesign AboutBoxDesign() { return {"バージョン情報", 298, 243, AboutControls}; }

}  // namespace tovimo
