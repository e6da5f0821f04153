// The main window's settings: what the first start shows, the load and save
// of section "MainForm" with its order, the settings panel, the AutoCAD
// program and the output folder.
#include <gtest/gtest.h>

#include "main_form_fixture.h"
#include "mainwindow/settings_controls.h"
#include "settings/profile_text.h"

namespace tovimo::testing {
namespace {

class MainFormSettingsTest : public MainFormFixture {};

TEST_F(MainFormSettingsTest, TheFirstStartWithoutSettingsFileShowsTheDefaults) {
    MainForm& f = Open();
    const SettingsControls& c = f.Controls;
    EXPECT_EQ(f.SettingsFileName(), Ini);
    EXPECT_EQ((std::vector<int>{c.Top, c.Left, c.Width, c.Height}),
              (std::vector<int>{113, 203, 274, 742}));
    EXPECT_FALSE(c.Panel2Visible);
    EXPECT_EQ(c.CommandWaitEdit, "100");
    EXPECT_EQ(c.AcadStartEdit, "15");
    EXPECT_EQ(c.FileDiaEdit + c.ISaveBakEdit + c.ProxyNoticeEdit, "111");
    EXPECT_TRUE(c.RewiteChkBox && c.AcadCloseChkBox && c.SaveSameDirChkBox && c.SaveChildDirCheckBox);
    EXPECT_FALSE(c.savetmpdwgChkBox || c.GetChildFolderCheckBox || c.DYNCancelChkBox);
    EXPECT_EQ(c.SaveDir, Program);
    EXPECT_EQ(f.SaveDirLabel, "各データと同じ");
    EXPECT_EQ(f.SaveDirHint, "各データと同じ");
    EXPECT_EQ(f.AcadPathLabel, "指定なし");
    // Empty list: run buttons, list buttons and Cancel disabled; close enabled.
    EXPECT_EQ(f.States, (ControlStates{false, false, false, false, false, false, true, false, false}));
    EXPECT_EQ(f.List().FileIconIndex, -1);
}

TEST_F(MainFormSettingsTest, CloseWritesEveryKeyInOrderAndARestartFindsEveryValueBack) {
    SetIni("[MainForm]\r\nWaitLimit=42\r\nAcadCount=4\r\nSingleDocument=0\r\n");
    files.AddFolder("D:\\Out");
    MainForm& f = Open();
    SettingsControls& c = f.Controls;
    c = {1, 2, 300, 400, "C:\\CAD\\acad.exe", "250", "30", "0", "2", "-1", "D:\\Out",
         false, false, true, false, true, true, false, true, "/nologo \"x y\"",
         true, 3, true};
    f.ToDxfMemo = "open\r\n#FILE\r\n";
    Close();

    // One whole new file: the window's keys in their order after the key
    // the window does not own, then the macros, dwgtodxf first.
    EXPECT_TRUE(profile.Writes().empty());
    const std::string text = *profile.Text(Ini);
    EXPECT_EQ(ProfileKeyNamesIn(text, "MainForm"),
              (std::vector<std::string>{
                  "WaitLimit", "AcadCount", "SingleDocument", "Top", "Left", "Width", "Height", "AcadPath", "CommandWait",
                  "StartWait", "FileDia", "ISaveBak", "ProxyNotice", "SaveDir", "Rewite",
                  "AcadClose", "SaveTmpdwg", "SaveSameDir", "SettingVisble", "GetChildFolder",
                  "SaveChildDir", "DYNCancel", "AcadArg", "UpdateOnly", "RunLog"}));
    EXPECT_NE(text.find("WaitLimit=42"), std::string::npos);
    EXPECT_NE(text.find("AcadCount=3"), std::string::npos);
    EXPECT_NE(text.find("SingleDocument=0"), std::string::npos);
    EXPECT_LT(text.find("[dwgtodxf]"), text.find("[dxftodwg]"));

    MainForm& again = Open();
    const SettingsControls& r = again.Controls;
    EXPECT_EQ((std::vector<int>{r.Top, r.Left, r.Width, r.Height}), (std::vector<int>{1, 2, 300, 400}));
    EXPECT_EQ(r.AcadPath, "C:\\CAD\\acad.exe");
    EXPECT_EQ(r.CommandWaitEdit + "," + r.AcadStartEdit + "," + r.FileDiaEdit + "," +
                  r.ISaveBakEdit + "," + r.ProxyNoticeEdit,
              "250,30,0,2,-1");
    EXPECT_EQ(r.SaveDir, "D:\\Out");
    EXPECT_EQ((std::vector<bool>{r.RewiteChkBox, r.AcadCloseChkBox, r.savetmpdwgChkBox,
                                 r.SaveSameDirChkBox, r.Panel2Visible, r.GetChildFolderCheckBox,
                                 r.SaveChildDirCheckBox, r.DYNCancelChkBox}),
              (std::vector<bool>{false, false, true, false, true, true, false, true}));
    EXPECT_EQ(r.AcadArgEdit, "/nologo \"x y\"");
    EXPECT_TRUE(r.UpdateOnlyMenu && r.RunLogMenu);
    EXPECT_EQ(r.AcadCountMenu, 3);
    EXPECT_EQ(again.ToDxfMemo, "open\r\n#FILE\r\n");
    EXPECT_EQ(again.AcadPathLabel, "CAD");
    EXPECT_EQ(again.ToDxfConverter()->GetAcadPath(), "C:\\CAD\\acad.exe");
    EXPECT_EQ(again.ToDwgConverter()->GetAcadPath(), "C:\\CAD\\acad.exe");
    // Unchecked "同じフォルダに保存": the output folder is shown and can be changed.
    EXPECT_EQ(again.SaveDirLabel, "指定のフォルダ");
    EXPECT_EQ(again.SaveDirHint, "D:\\Out");
    EXPECT_TRUE(again.States.SaveDirBitBtn && again.States.SaveChildDirCheckBox);
}

TEST_F(MainFormSettingsTest, EachMemoIsSavedAsItsOwnDirectionsMacro) {
    MainForm& f = Open();
    f.ToDxfMemo = "open\r\n#FILE\r\nsaveas\r\nDXF\r\n#SAVEFILE\r\n";
    f.ToDwgMemo = "open\r\n#FILE\r\nsaveas\r\n2000\r\n#SAVEFILE\r\n";
    Close();
    MainForm& again = Open();
    EXPECT_EQ(again.ToDxfMemo, "open\r\n#FILE\r\nsaveas\r\nDXF\r\n#SAVEFILE\r\n");
    EXPECT_EQ(again.ToDwgMemo, "open\r\n#FILE\r\nsaveas\r\n2000\r\n#SAVEFILE\r\n");
    EXPECT_EQ(again.ToDwgConverter()->MacroLines,
              (std::vector<std::string>{"open", "#FILE", "saveas", "2000", "#SAVEFILE"}));
}

TEST_F(MainFormSettingsTest, OnlyOneIsOnAndAMissingOutputFolderBecomesTheProgramFolder) {
    SetIni("[MainForm]\r\nRewite=2\r\nAcadClose=yes\r\nSaveTmpdwg=1\r\nSaveDir=Q:\\gone\r\n"
           "CommandWait=abc\r\nUpdateOnly=2\r\nRunLog=1\r\nAcadCount=12\r\n");
    MainForm& f = Open();
    EXPECT_FALSE(f.Controls.RewiteChkBox);
    EXPECT_FALSE(f.Controls.UpdateOnlyMenu);
    EXPECT_TRUE(f.Controls.RunLogMenu);
    EXPECT_EQ(f.Controls.AcadCountMenu, 12);  // no radio item checked
    EXPECT_FALSE(f.Controls.AcadCloseChkBox);
    EXPECT_TRUE(f.Controls.savetmpdwgChkBox);
    EXPECT_EQ(f.Controls.SaveDir, Program);
    EXPECT_EQ(f.Controls.CommandWaitEdit, "100");
    Close();
    // Unchanged, a value keeps the file's spelling of it (2 reads as off).
    for (const char* kept : {"Rewite=2", "UpdateOnly=2", "AcadCount=12"})
        EXPECT_NE(profile.Text(Ini)->find(kept), std::string::npos) << kept;
}

TEST_F(MainFormSettingsTest, AnEditFieldWithoutANumberKeepsItsLastGoodValueAndTheRestIsSaved) {
    SetIni("[MainForm]\r\nCommandWait=70\r\n");
    MainForm& f = Open();
    f.Controls.CommandWaitEdit = "7O";    // a letter O
    f.Controls.AcadStartEdit = "";
    f.Controls.FileDiaEdit = " 0 ";
    f.Controls.AcadArgEdit = "/p x";
    Close();
    const std::string text = *profile.Text(Ini);
    EXPECT_NE(text.find("CommandWait=70"), std::string::npos);
    EXPECT_NE(text.find("StartWait=15"), std::string::npos);
    EXPECT_NE(text.find("FileDia=0"), std::string::npos);
    EXPECT_NE(text.find("AcadArg=/p x"), std::string::npos);
}

TEST_F(MainFormSettingsTest, AnUnwritableSettingsFileIsReportedOnceAndTheWindowStillCloses) {
    profile.SetWritable(Ini, false);
    Open();
    Close();
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{std::string(Ini) + " に書き込めません"});
}

TEST_F(MainFormSettingsTest, TheSettingsPanelGrowsTheWindowOnceAndShrinksItOnlyWhenShown) {
    MainForm& f = Open();
    EXPECT_EQ(f.SettingCloseBitBtnClick(96), 0);
    EXPECT_EQ(f.SettingOpenMenuClick(96), 350);
    EXPECT_EQ(f.SettingOpenMenuClick(96), 0);
    EXPECT_TRUE(f.Controls.Panel2Visible);
    EXPECT_EQ(f.SettingCloseBitBtnClick(144), -525);
    EXPECT_FALSE(f.Controls.Panel2Visible);
}

TEST_F(MainFormSettingsTest, TheAutoCadProgramReachesBothConversionsAndTheLabel) {
    MainForm& f = Open();
    host.chosenProgram = std::nullopt;
    f.AcadBitBtnClick();
    EXPECT_EQ(f.Controls.AcadPath, "");
    host.chosenProgram = "D:\\ツール\\表\\acadlt.exe";
    f.AcadBitBtnClick();
    EXPECT_EQ(f.AcadPathLabel, "表");
    EXPECT_EQ(f.ToDwgConverter()->GetAcadPath(), "D:\\ツール\\表\\acadlt.exe");
    host.chosenProgram = "C:\\acad.exe";
    f.AcadBitBtnClick();
    EXPECT_EQ(host.programDialogStart, "D:\\ツール\\表\\acadlt.exe");
    EXPECT_EQ(f.AcadPathLabel, "再設定下さい");
}

TEST(AcadPathLabel, NamesTheProgramsFolderWholeEvenWithDoubleByteCharacters) {
    EXPECT_EQ(AcadPathLabelText(""), "指定なし");
    EXPECT_EQ(AcadPathLabelText("C:\\Tools\\CAD\\acad.exe"), "CAD");
    EXPECT_EQ(AcadPathLabelText("acad.exe"), "再設定下さい");
    // "ソ" ends in the byte of "\", which is no separator.
    EXPECT_EQ(AcadPathLabelText("C:\\ソフト\\acad.exe"), "ソフト");
    EXPECT_EQ(AcadPathLabelText("C:\\ソ\\acad.exe"), "ソ");
}

TEST_F(MainFormSettingsTest, TheOutputFolderComesFromThePickerAndACancelKeepsAnExistingOne) {
    files.AddFolder("D:\\Out");
    files.AddFolder("D:\\New");
    SetIni("[MainForm]\r\nSaveSameDir=0\r\nSaveDir=D:\\Out\r\n");
    MainForm& f = Open();
    f.SaveDirBitBtnClick();
    ASSERT_EQ(host.browseCalls.size(), 1u);
    EXPECT_EQ(host.browseCalls[0].title, "変換後データ保存先");
    EXPECT_EQ(host.browseCalls[0].rootName, "ﾏｲ ｺﾝﾋﾟｭｰﾀ");
    EXPECT_EQ(host.browseCalls[0].folder, "D:\\Out");
    EXPECT_EQ(f.Controls.SaveDir, "D:\\Out");

    host.browseAnswer = "D:\\New";
    f.SaveDirBitBtnClick();
    EXPECT_EQ(f.Controls.SaveDir, "D:\\New");
    EXPECT_EQ(f.SaveDirHint, "D:\\New");

    // A folder removed meanwhile: the picker starts at no folder, and a
    // cancel leaves the output folder empty.
    files.RemoveFile("D:\\New");
    host.browseAnswer.reset();
    host.startFolderExists = false;
    fileSystem.DeleteFile("D:\\New");
    f.Controls.SaveDir = "D:\\Gone";
    f.SaveDirBitBtnClick();
    EXPECT_EQ(host.browseCalls.back().folder, "ﾏｲ ｺﾝﾋﾟｭｰﾀ");
    EXPECT_EQ(f.Controls.SaveDir, "");
}

TEST_F(MainFormSettingsTest, SameFolderTickedLocksTheOutputFolderControls) {
    MainForm& f = Open();
    f.SaveSameDirChkBoxClick(false);
    EXPECT_EQ(f.SaveDirLabel, "指定のフォルダ");
    EXPECT_EQ(f.SaveDirHint, Program);
    EXPECT_TRUE(f.States.SaveDirBitBtn);
    EXPECT_TRUE(f.States.SaveChildDirCheckBox);
    f.SaveSameDirChkBoxClick(true);
    EXPECT_EQ(f.SaveDirLabel, "各データと同じ");
    EXPECT_FALSE(f.States.SaveDirBitBtn);
    EXPECT_FALSE(f.States.SaveChildDirCheckBox);
}

TEST_F(MainFormSettingsTest, TheSettingsAreReadOnlyAtTheFirstShowing) {
    MainForm& f = Open();
    f.Controls.CommandWaitEdit = "5";
    SetIni("[MainForm]\r\nCommandWait=999\r\n");
    f.FormShow(0, 0, 10, 10);
    EXPECT_EQ(f.Controls.CommandWaitEdit, "5");
    EXPECT_EQ(f.Controls.Width, 274);
}

TEST(RunSettingsRead, TakesEachWaitAtItsBoundsAndRefusesOnePastNamingTheField) {
    MainFormSettings lastGood;
    SettingsControls c = ShowSettings(lastGood);
    struct Bound {
        std::string SettingsControls::*edit;
        int low;
        int high;
        const char* message;
    };
    for (const Bound& b :
         {Bound{&SettingsControls::CommandWaitEdit, 0, 60000,
                "「コマンド間」には 0 から 60000 までの整数を入力して下さい (ミリ秒)。"},
          Bound{&SettingsControls::AcadStartEdit, 0, 3600,
                "「AutoCAD起動」には 0 から 3600 までの整数を入力して下さい (秒)。"}}) {
        SettingsControls edited = c;
        for (int value : {b.low, b.high}) {
            edited.*b.edit = std::to_string(value);
            const RunSettingsRead read = ReadRunSettings(edited, lastGood);
            EXPECT_TRUE(read.settings) << read.error;
        }
        for (int value : {b.low - 1, b.high + 1, 2147483647}) {
            edited.*b.edit = std::to_string(value);
            const RunSettingsRead read = ReadRunSettings(edited, lastGood);
            EXPECT_FALSE(read.settings) << value;
            EXPECT_EQ(read.error, b.message);
        }
    }
    // The end values have no bounds.
    c.FileDiaEdit = "-7";
    c.ProxyNoticeEdit = "2147483647";
    ASSERT_TRUE(ReadRunSettings(c, lastGood).settings);
    EXPECT_EQ(ReadRunSettings(c, lastGood).settings->ProxyNotice, 2147483647);
    // The wait limit is not shown: the settings file's value is named by its key.
    for (int limit : {1, 86400}) {
        lastGood.WaitLimit = limit;
        EXPECT_TRUE(ReadRunSettings(c, lastGood).settings) << limit;
    }
    for (int limit : {0, 86401}) {
        lastGood.WaitLimit = limit;
        const RunSettingsRead read = ReadRunSettings(c, lastGood);
        EXPECT_FALSE(read.settings);
        EXPECT_NE(read.error.find("WaitLimit"), std::string::npos) << read.error;
        EXPECT_NE(read.error.find("1 から 86400"), std::string::npos) << read.error;
    }
    lastGood.WaitLimit = 600;
    lastGood.SingleDocument = 0;
    EXPECT_EQ(ReadRunSettings(c, lastGood).settings->SingleDocument, 0);
    lastGood.SingleDocument = 2;
    EXPECT_EQ(ReadRunSettings(c, lastGood).error,
              "設定 SingleDocument (AutoCADで1図面ずつ開く) は 0 から 1 までにしてください: 2");
}

TEST(EditInteger, TakesDecimalsWithSignAndBlanksOnly) {
    EXPECT_EQ(ParseEditInteger(" 12 "), 12);
    EXPECT_EQ(ParseEditInteger("-3"), -3);
    EXPECT_EQ(ParseEditInteger("+4"), 4);
    EXPECT_EQ(ParseEditInteger(""), std::nullopt);
    EXPECT_EQ(ParseEditInteger("1.5"), std::nullopt);
    EXPECT_EQ(ParseEditInteger("0x10"), std::nullopt);
    EXPECT_EQ(ParseEditInteger("99999999999"), std::nullopt);
    EXPECT_EQ(ParseEditInteger("+"), std::nullopt);
}

}  // namespace
}  // namespace tovimo::testing
