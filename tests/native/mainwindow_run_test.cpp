// The run behind the two run buttons, with the stand-in AutoCAD: the states
// of the controls through a run, the refusals before anything is started,
// Cancel, and what a close or a drop during a run does.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>

#include "main_form_fixture.h"
#include "mainwindow/run_log_file.h"
#include "mainwindow/run_title.h"
#include "virtual_threads.h"

namespace tovimo::testing {
namespace {

constexpr const char* Finished = "   作業が終わりました      ";
constexpr const char* Canceled = "   作業を中断しました      ";
constexpr const char* RunCaption = "Tovimo メッセージ";

class MainFormRunTest : public MainFormFixture {
protected:
    MainFormRunTest() {
        mainForm = "[MainForm]\r\nAcadPath=C:\\Acad\\acad.exe\r\nCommandWait=10\r\n";
        macros = "[dwgtodxf]\r\nMACRO_LINES=6\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
                 "MACRO3=DXF\r\nMACRO4=#ENTER\r\nMACRO5=#SAVEFILE\r\n"
                 "[dxftodwg]\r\nMACRO_LINES=5\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
                 "MACRO3=#ENTER\r\nMACRO4=#SAVEFILE\r\n";
        AddDrawing("D:\\図面\\A.dwg");
        AddDrawing("D:\\図面\\sub\\B.dwg");
    }
    MainForm& OpenWithDrop(const std::vector<std::string>& paths = {"D:\\図面"}) {
        SetIni(mainForm + macros);
        MainForm& f = Open();
        f.WMDropFiles(paths);
        return f;
    }
    // Nothing was started and nothing typed.
    void ExpectNothingStarted() const {
        EXPECT_TRUE(processes.Calls().empty());
        EXPECT_TRUE(windows.CopyDataTexts().empty());
    }

    std::string mainForm;
    std::string macros;
};

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(MainFormRunTest, ARunConvertsTheListWithTheControlsLockedAndGivesThemBackAfterwards) {
    host.childFolders = true;
    MainForm& f = OpenWithDrop();
    const ControlStates idle = f.States;
    EXPECT_TRUE(idle.ToDxfBitBtn && idle.ClearBitBtn && !idle.CancelBitBtn && !idle.ToDwgBitBtn);
    std::vector<ControlStates> duringRun;
    pump.onRun = [&](int) { duringRun.push_back(f.States); };
    f.ToDxfBitBtnClick();

    ASSERT_FALSE(duringRun.empty());
    // AutoCAD ready: the pressed button and the list buttons locked, Cancel open.
    // The menu's run options greyed too; no log folder yet.
    EXPECT_EQ(duringRun.front(), (ControlStates{false, false, false, false, false, true, false,
                                                false, false, false, false, false, false, false}));
    EXPECT_EQ(f.States, idle);
    EXPECT_FALSE(f.RunUnderWay());
    EXPECT_EQ(files.ReadFile("D:\\図面\\A.dxf").has_value(), true);
    EXPECT_EQ(files.ReadFile("D:\\図面\\sub\\B.dxf").has_value(), true);
    // The tree's order: the folder's entries as the file system lists them.
    EXPECT_EQ(f.SourceList(), (std::vector<std::string>{"D:\\図面\\A.dwg", "D:\\図面\\sub\\B.dwg"}));
    EXPECT_TRUE(f.TargetList().empty());
    EXPECT_EQ(host.ranges, std::vector<int>{2});
    EXPECT_EQ(host.positions, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(host.cancelStates, (std::vector<bool>{true, false}));
    EXPECT_TRUE(host.skippedShown.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::make_pair(std::string(Finished), std::string(RunCaption)));
}

TEST_F(MainFormRunTest, WaitsOfZeroAreTakenAndTheRunConverts) {
    MainForm& f = OpenWithDrop({"D:\\図面\\A.dwg"});
    f.Controls.CommandWaitEdit = "0";
    f.Controls.AcadStartEdit = "0";
    f.ToDxfBitBtnClick();
    EXPECT_FALSE(processes.Calls().empty());
    EXPECT_TRUE(files.ReadFile("D:\\図面\\A.dxf").has_value());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, Finished);
}

TEST_F(MainFormRunTest, ARestartIsToldInTheTitleWithoutABoxAndTheSettingsFileKeepsItsBounds) {
    host.childFolders = true;
    AddDrawing("D:\\図面\\A.dwg", "CRASH");
    // An AutoCAD without SDI: told once, in the title as well, though both AutoCADs lack it.
    mainForm += "RestartLimit=5\r\nRestartEvery=1000\r\nAcadArg=/sdi:none\r\n";
    MainForm& f = OpenWithDrop();
    f.ToDxfBitBtnClick();
    // The restart's text holds the title until the next drawing ends.
    EXPECT_EQ(host.runStatuses,
              (std::vector<std::string>{"0/2", "AutoCADを1図面ずつにできませんでした (SDI)",
                                        "1/2 残り約 0 秒",
                                        "AutoCADが終了したため、AutoCADを再起動します (1回目)",
                                        "2/2", ""}));
    EXPECT_TRUE(files.FileExists("D:\\図面\\sub\\B.dxf"));
    // Only the end message and the list: a restart shows no box of its own.
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, Finished);
    ASSERT_EQ(host.skippedShown.size(), 1u);
    EXPECT_EQ(host.skippedShown[0].at(0).reason, SkipReason::AcadGone);
    f.FormClose();
    const std::string ini = profile.Text(Ini).value_or("");
    EXPECT_NE(ini.find("RestartLimit=5"), std::string::npos) << ini;
    EXPECT_NE(ini.find("RestartEvery=1000"), std::string::npos) << ini;
}

TEST_F(MainFormRunTest, TheOutputFolderTakesTheResultsWithAndWithoutTheSubFolders) {
    host.childFolders = true;
    files.AddFolder("E:\\Out");
    mainForm += "SaveSameDir=0\r\nSaveDir=E:\\Out\r\n";
    MainForm& f = OpenWithDrop();
    f.ToDxfBitBtnClick();
    EXPECT_TRUE(files.FileExists("E:\\Out\\図面\\sub\\B.dxf"));
    EXPECT_TRUE(files.FileExists("E:\\Out\\図面\\A.dxf"));
    EXPECT_TRUE(f.States.SaveDirBitBtn && f.States.SaveChildDirCheckBox);

    f.Controls.SaveChildDirCheckBox = false;
    f.ToDxfBitBtnClick();
    // Without the sub-folders every result lies in the output folder itself.
    EXPECT_TRUE(files.FileExists("E:\\Out\\B.dxf"));
    EXPECT_TRUE(files.FileExists("E:\\Out\\A.dxf"));
}

TEST_F(MainFormRunTest, TwoDroppedFoldersOfOneNameNeverOverwriteEachOthersResults) {
    host.childFolders = true;
    files.AddFolder("E:\\Out");
    AddDrawing("C:\\A\\図面\\A.dwg");
    AddDrawing("C:\\A\\図面\\C.dwg");
    mainForm += "SaveSameDir=0\r\nSaveDir=E:\\Out\r\nRewite=1\r\n";
    MainForm& f = OpenWithDrop({"D:\\図面", "C:\\A\\図面"});
    f.ToDxfBitBtnClick();
    // C:\A\図面 sorts first: its A.dwg keeps E:\Out\図面\A.dxf.
    EXPECT_EQ(standin::ParseDrawing(files.ReadFile("E:\\Out\\図面\\A.dxf").value_or("")).source,
              "C:\\A\\図面\\A.dwg");
    EXPECT_TRUE(files.FileExists("E:\\Out\\図面\\C.dxf"));
    EXPECT_TRUE(files.FileExists("E:\\Out\\図面\\sub\\B.dxf"));
    for (const std::string& text : Typed()) EXPECT_NE(text, "D:\\図面\\A.dwg\n");
    ASSERT_EQ(host.skippedShown.size(), 1u);
    ASSERT_EQ(host.skippedShown[0].size(), 1u);
    EXPECT_EQ(host.skippedShown[0][0].path, "D:\\図面\\A.dwg");
    EXPECT_EQ(host.skippedShown[0][0].reason, SkipReason::TargetTaken);
    // Counted on the progress bar like any drawing dealt with.
    EXPECT_EQ(host.ranges, std::vector<int>{4});
    EXPECT_EQ(host.positions, (std::vector<int>{0, 1, 2, 3, 4, 0}));
}

TEST_F(MainFormRunTest, TheSameDrawingDroppedTwiceIsListedTwiceAndConvertedOnce) {
    MainForm& f = OpenWithDrop({"D:\\図面\\A.dwg", "d:\\図面\\a.DWG"});
    EXPECT_EQ(f.List().DwgCount, 2);
    f.ToDxfBitBtnClick();
    EXPECT_EQ(f.SourceList(), std::vector<std::string>{"D:\\図面\\A.dwg"});
    EXPECT_TRUE(host.skippedShown.empty());
    EXPECT_EQ(host.MessageTexts().back(), Finished);
}

TEST_F(MainFormRunTest, SkippedDrawingsAreShownWithTheirReasonsBeforeTheEndMessage) {
    AddDrawing("D:\\図面\\C.dwg", "FAIL");
    MainForm& f = OpenWithDrop();
    f.ToDxfBitBtnClick();
    ASSERT_EQ(host.skippedShown.size(), 1u);
    ASSERT_EQ(host.skippedShown[0].size(), 1u);
    EXPECT_EQ(host.skippedShown[0][0].name, "C.dwg");
    EXPECT_EQ(host.skippedShown[0][0].reason, SkipReason::OpenFailed);
    EXPECT_EQ(host.MessageTexts().back(), Finished);
    EXPECT_EQ(host.positions.back(), 0);
}

TEST_F(MainFormRunTest, RefusedRunsStartNothingAndLeaveTheControlsAsTheyWere) {
    mainForm += "SaveSameDir=0\r\n";  // no output folder chosen: the program's folder
    MainForm& f = OpenWithDrop();
    const ControlStates idle = f.States;
    const auto refusal = [&](const std::string& expected, const char* caption) {
        host.messages.clear();
        f.ToDxfBitBtnClick();
        ASSERT_EQ(host.messages.size(), 1u) << expected;
        EXPECT_EQ(host.messages[0].first, expected);
        EXPECT_EQ(host.messages[0].second, caption);
        EXPECT_EQ(f.States, idle);
        EXPECT_FALSE(f.RunUnderWay());
        ExpectNothingStarted();
    };
    refusal("変換後のフォルダを指定して下さい。", "Tovimoメッセージ");
    f.Controls.SaveDir = "";  // after a cancelled choice of a folder that was gone
    refusal("変換後のフォルダを指定して下さい。", "Tovimoメッセージ");

    files.AddFolder("E:\\Out");
    f.Controls.SaveDir = "E:\\Out";
    f.Controls.CommandWaitEdit = "-5";
    refusal("「コマンド間」には 0 から 60000 までの整数を入力して下さい (ミリ秒)。", "Tovimoメッセージ");
    f.Controls.CommandWaitEdit = "2147483647";
    refusal("「コマンド間」には 0 から 60000 までの整数を入力して下さい (ミリ秒)。", "Tovimoメッセージ");
    f.Controls.CommandWaitEdit = "10";
    f.Controls.AcadStartEdit = "15秒";
    refusal("「AutoCAD起動」には整数を入力して下さい。", "Tovimoメッセージ");
    f.Controls.AcadStartEdit = "15";
    f.Controls.ProxyNoticeEdit = "x";
    refusal("「PROXYNOTICE」には整数を入力して下さい。", "Tovimoメッセージ");
}

TEST_F(MainFormRunTest, ATargetFolderThatCannotBeMadeStopsTheRunBeforeAutoCad) {
    files.AddFolder("E:\\Out");
    files.AddFile("E:\\Out\\図面");  // a file where the folder should go
    mainForm += "SaveSameDir=0\r\nSaveDir=E:\\Out\r\n";
    MainForm& f = OpenWithDrop();
    const ControlStates idle = f.States;
    f.ToDxfBitBtnClick();
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"変換後のフォルダを作成できません: E:\\Out\\図面"});
    EXPECT_EQ(f.States, idle);
    ExpectNothingStarted();
}

TEST_F(MainFormRunTest, AnotherAutoCadRunningIsReportedAndNoDrawingIsTouched) {
    windows.StartStandin(std::vector<std::string>{});
    MainForm& f = OpenWithDrop();
    const ControlStates idle = f.States;
    const std::size_t typedBefore = windows.CopyDataTexts().size();
    f.ToDxfBitBtnClick();
    EXPECT_EQ(host.messages.back(),
              std::make_pair(std::string("起動中のAuto CADを終了させてください。"), std::string(RunCaption)));
    EXPECT_EQ(windows.CopyDataTexts().size(), typedBefore);
    EXPECT_EQ(f.States, idle);
}

TEST_F(MainFormRunTest, AnAutoCadThatCannotBeStartedIsReportedAndTheControlsComeBack) {
    mainForm = "[MainForm]\r\nAcadPath=C:\\Acad\\missing.exe\r\nCommandWait=10\r\nStartWait=2\r\n";
    MainForm& f = OpenWithDrop();
    const ControlStates idle = f.States;
    f.ToDxfBitBtnClick();
    EXPECT_EQ(host.messages.back(),
              std::make_pair(std::string("Auto CADを起動できません"), std::string(RunCaption)));
    EXPECT_EQ(f.States, idle);
    EXPECT_TRUE(host.cancelStates.empty());  // Cancel never became available
    EXPECT_TRUE(windows.CopyDataTexts().empty());
}

TEST_F(MainFormRunTest, CancelFinishesTheDrawingUnderWayAndEndsWithTheCancelMessage) {
    AddDrawing("D:\\図面\\C.dwg");
    MainForm& f = OpenWithDrop();
    pump.onRun = [&](int) {
        if (files.FileExists("D:\\図面\\A.dxf")) AsUser([&] { f.CancelBitBtnClick(); });  // once A is saved
    };
    f.ToDxfBitBtnClick();
    EXPECT_TRUE(files.FileExists("D:\\図面\\A.dxf"));
    EXPECT_FALSE(files.FileExists("D:\\図面\\C.dxf"));
    EXPECT_EQ(host.positions, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(host.MessageTexts().back(), Canceled);
    EXPECT_TRUE(f.ToDwgConverter()->Canceled);
    EXPECT_EQ(f.States.ToDxfBitBtn, true);
}

TEST_F(MainFormRunTest, ACloseDuringARunCancelsItAndClosesOnceItHasEnded) {
    AddDrawing("D:\\図面\\C.dwg");
    MainForm& f = OpenWithDrop();
    std::vector<bool> closeAnswers;
    pump.onRun = [&](int run) {
        if (run == 20) AsUser([&] { closeAnswers.push_back(f.FormCloseQuery()); });
    };
    f.ToDxfBitBtnClick();
    EXPECT_EQ(closeAnswers, std::vector<bool>{false});
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_EQ(host.MessageTexts().back(), Canceled);
    EXPECT_TRUE(f.FormCloseQuery());
    Close();
    EXPECT_NE(profile.Text(Ini)->find("AcadPath=C:\\Acad\\acad.exe"), std::string::npos);
    EXPECT_NE(profile.Text(Ini)->find("MACRO5=#SAVEFILE"), std::string::npos);
}

TEST_F(MainFormRunTest, NoSecondRunAndNoChangeToTheListWhileARunIsUnderWay) {
    AddDrawing("D:\\other.dwg");
    MainForm& f = OpenWithDrop();
    int pressed = 0;
    pump.onRun = [&](int) {
        if (pressed++ > 0) return;
        AsUser([&] {
            f.ToDxfBitBtnClick();
            f.WMDropFiles({"D:\\other.dwg"});
            f.AllDeletePopClick();
            f.DeletePopClick();
            f.PopupMenu1Popup();
            EXPECT_FALSE(f.States.DeletePop);
            EXPECT_FALSE(f.States.ToDxfBitBtn);
            f.SaveSameDirChkBoxClick(false);
            EXPECT_FALSE(f.States.SaveDirBitBtn);
            // The menu's run options are greyed and take no click; the
            // log folder opens during a run too.
            EXPECT_FALSE(f.States.RunOptionMenus);
            f.UpdateOnlyMenuClick();
            f.AcadCountMenuClick(2);
            f.RunLogMenuClick();
            files.AddFolder("C:\\Tovimo\\log");
            f.OpenLogFolderMenuClick();
        });
    };
    f.ToDxfBitBtnClick();
    EXPECT_FALSE(f.Controls.UpdateOnlyMenu || f.Controls.RunLogMenu);
    EXPECT_EQ(f.Controls.AcadCountMenu, 1);
    EXPECT_EQ(host.foldersOpened, std::vector<std::string>{"C:\\Tovimo\\log"});
    EXPECT_TRUE(f.States.RunOptionMenus);
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden).size(), 1u);  // one Pelkadu, one run
    EXPECT_EQ(f.List().DwgCount, 1);
    EXPECT_EQ(f.States.ToDxfBitBtn, true);
    EXPECT_EQ(f.States.SaveDirBitBtn, true);
}

TEST_F(MainFormRunTest, TheMemoTextIsTheMacroOfTheRunAndIsSavedOnlyAtClose) {
    MainForm& f = OpenWithDrop({"D:\\図面\\A.dwg"});
    f.ToDxfMemo = "open\r\n#FILE\r\nsaveas\r\nDXF\r\n#ENTER\r\n#SAVEFILE\r\nzoom\r\n";
    const std::string before = *profile.Text(Ini);
    f.ToDxfBitBtnClick();
    const auto typed = Typed();
    EXPECT_NE(std::find(typed.begin(), typed.end(), "zoom\n"), typed.end());
    EXPECT_EQ(*profile.Text(Ini), before);
    Close();
    EXPECT_NE(profile.Text(Ini)->find("MACRO6=zoom"), std::string::npos);
}

TEST_F(MainFormRunTest, AnUpdateRunPassesOverUpToDateResultsAndOverwritesTheRestOrIsRefused) {
    host.childFolders = true;
    // A's result is at A's time, as a run leaves it; B's is older than B
    // (by more than a FAT step); C has none.
    files.AddFile("D:\\図面\\sub\\B.dxf", "an older result");
    clock.Sleep(3000);
    AddDrawing("D:\\図面\\sub\\B.dwg");
    AddDrawing("D:\\図面\\C.dwg");
    files.AddFile("D:\\図面\\A.dxf", "an up-to-date result");
    files.SetLastWriteMs("D:\\図面\\A.dxf", files.InfoOf("D:\\図面\\A.dwg")->lastWriteMs);
    mainForm += "Rewite=0\r\n";
    host.fileTypeAnswer = DrawingKind::Dwg;  // the drop holds results too
    MainForm& f = OpenWithDrop();
    f.UpdateOnlyMenuClick();

    // A macro that names no result tells nothing to compare: refused first.
    const std::string macro = f.ToDxfMemo;
    f.ToDxfMemo = "open\r\n#FILE\r\nsaveas\r\nDXF\r\n#ENTER\r\nD:\\out\\x\r\n";
    const ControlStates idle = f.States;
    f.ToDxfBitBtnClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].first.find("「更新された図面だけ変換」"), std::string::npos);
    EXPECT_NE(host.messages[0].first.find("#SAVEFILE"), std::string::npos);
    EXPECT_EQ(f.States, idle);
    ExpectNothingStarted();

    host.messages.clear();
    f.ToDxfMemo = macro;
    f.ToDxfBitBtnClick();
    EXPECT_EQ(files.ReadFile("D:\\図面\\A.dxf"), "an up-to-date result");
    EXPECT_NE(files.ReadFile("D:\\図面\\sub\\B.dxf")->find("FORMAT DXF"), std::string::npos);
    EXPECT_TRUE(files.FileExists("D:\\図面\\C.dxf"));
    const auto typed = Typed();
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "D:\\図面\\A.dwg\n"), 0);
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "y\n"), 1);  // whatever 上書き保存 says
    EXPECT_EQ(host.runStatuses.front(), "0/2");  // those passed over are not counted
    EXPECT_EQ(host.messages, (std::vector<std::pair<std::string, std::string>>{
                                 {std::string(Finished) + "\n最新のため省略: 1", RunCaption}}));

    // Everything up to date now: no AutoCAD, and the end message at once.
    host.messages.clear();
    const std::size_t launched = processes.Calls().size();
    const std::size_t statuses = host.runStatuses.size();
    f.ToDxfBitBtnClick();
    EXPECT_EQ(processes.Calls().size(), launched);
    EXPECT_EQ(host.runStatuses.size(), statuses);
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{std::string(Finished) + "\n最新のため省略: 3"});
    EXPECT_EQ(f.States, idle);

    // Two drawings of one name into one output folder, the first's result
    // up to date: the second's result is the first's, so no AutoCAD either,
    // and the second is listed and logged as not converted.
    AddDrawing("D:\\2023\\平面図.dwg");
    AddDrawing("D:\\2024\\平面図.dwg");
    files.AddFile("E:\\Out\\平面図.dxf", "2023's result");
    f.SaveSameDirChkBoxClick(false);
    f.Controls.SaveDir = "E:\\Out";
    f.Controls.SaveChildDirCheckBox = false;
    f.RunLogMenuClick();
    f.AllDeletePopClick();
    f.WMDropFiles({"D:\\2023\\平面図.dwg", "D:\\2024\\平面図.dwg"});
    host.messages.clear();
    // The log's end (which waits while another program holds it) is left
    // to the run's thread: the click returns with nothing shown yet.
    runs.deferred = true;
    f.ToDxfBitBtnClick();
    EXPECT_TRUE(f.RunUnderWay());
    EXPECT_TRUE(host.messages.empty());
    runs.RunPending();
    runs.deferred = false;
    EXPECT_FALSE(f.RunUnderWay());
    EXPECT_EQ(processes.Calls().size(), launched);
    EXPECT_EQ(files.ReadFile("E:\\Out\\平面図.dxf"), "2023's result");
    ASSERT_EQ(host.skippedShown.size(), 1u);
    ASSERT_EQ(host.skippedShown[0].size(), 1u);
    EXPECT_EQ(host.skippedShown[0][0].path, "D:\\2024\\平面図.dwg");
    EXPECT_EQ(host.skippedShown[0][0].reason, SkipReason::TargetTaken);
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{std::string(Finished) + "\n最新のため省略: 1"});
    const std::vector<std::string> lines = files.Lines("C:\\Tovimo\\log\\20261208-193005-dxf.csv");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], Utf8(u8"1,D:\\2023\\平面図.dwg,E:\\Out\\平面図.dxf,省略,最新のため省略,0.0,"));
    EXPECT_EQ(lines[2], Utf8(u8"2,D:\\2024\\平面図.dwg,E:\\Out\\平面図.dxf,未変換,"
                             u8"同じ名前の変換後ファイルになる図面が先にあります,0.0,"));
    EXPECT_EQ(f.States.ToDxfBitBtn, true);
}

TEST_F(MainFormRunTest, ARunLogGoesBesideTheSettingsFileNamedByTheRunsStartAndDirection) {
    AddDrawing("D:\\図面\\C.dwg", "FAIL");
    MainForm& f = OpenWithDrop();
    EXPECT_FALSE(f.States.OpenLogFolderMenu);
    f.RunLogMenuClick();
    f.ToDxfBitBtnClick();
    const auto log = files.ReadFile("C:\\Tovimo\\log\\20261208-193005-dxf.csv");
    ASSERT_TRUE(log);
    const std::vector<std::string> lines = files.Lines("C:\\Tovimo\\log\\20261208-193005-dxf.csv");
    ASSERT_EQ(lines.size(), 3u) << *log;
    EXPECT_EQ(lines[0], Utf8(u8"\uFEFF番号,図面,変換後,結果,理由,秒,AutoCADの表示"));
    EXPECT_EQ(lines[1].rfind(Utf8(u8"1,D:\\図面\\A.dwg,D:\\図面\\A.dxf,変換済,,"), 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind(Utf8(u8"2,D:\\図面\\C.dwg,D:\\図面\\C.dxf,未変換,AutoCADで開けませんでした,"), 0), 0u);
    EXPECT_EQ(lines[2].substr(lines[2].rfind(',') + 1),
              Utf8(u8"D:\\図面\\C.dwg は有効な図面ファイルではありません。"));
    EXPECT_TRUE(f.States.OpenLogFolderMenu);

    // A second run within the same second, the other way round.
    files.AddFolder("D:\\dxf");
    AddDrawing("D:\\dxf\\E.dxf");
    f.AllDeletePopClick();
    f.WMDropFiles({"D:\\dxf\\E.dxf"});
    f.ToDwgBitBtnClick();
    f.AllDeletePopClick();
    f.WMDropFiles({"D:\\dxf"});
    f.ToDwgBitBtnClick();
    EXPECT_TRUE(files.FileExists("C:\\Tovimo\\log\\20261208-193005-dwg.csv"));
    EXPECT_TRUE(files.FileExists("C:\\Tovimo\\log\\20261208-193005-dwg-2.csv"));
    EXPECT_EQ(RunLogFileName({2027, 1, 2, 3, 4, 5}, "dxf", 12), "20270102-030405-dxf-12.csv");

    // A log that cannot be made is said once, and the run goes on.
    files.AddFile("C:\\Tovimo\\log\\20261208-193005-dwg-3.csv");
    files.MakeReadOnly("C:\\Tovimo\\log");
    host.messages.clear();
    f.ToDwgBitBtnClick();
    EXPECT_EQ(host.MessageTexts(),
              (std::vector<std::string>{"実行ログを作成できません: C:\\Tovimo\\log\\20261208-193005-dwg-4.csv",
                                        Finished}));
    const auto typed = Typed();
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "D:\\dxf\\E.dxf\n"), 3);
}

TEST_F(MainFormRunTest, ARunLogHeldByAnotherProgramLosesNoLineOrSaysOnceWhatItCouldNotWrite) {
    for (const char* name : {"C", "D"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    MainForm& f = OpenWithDrop();
    f.RunLogMenuClick();
    // The run's log is held (the user looks at it in Excel) once C is
    // typed, and let go letGoAfter ms after AutoCAD is told to quit; never
    // without a time.
    std::string held;
    std::optional<std::int64_t> letGoAfter;
    pump.onRun = [&](int) {
        const auto typed = Typed();
        if (typed.empty()) return;
        if (held.empty() && typed.back() == "D:\\図面\\C.dwg\n") {
            held = "C:\\Tovimo\\log\\" + files.List("C:\\Tovimo\\log").back().name;
            files.Hold(held);
        } else if (!held.empty() && letGoAfter && typed.back() == "quit\n") {
            clock.ScheduleAfter(*letGoAfter, [&, path = held] { files.Hold(path, false); });
            letGoAfter.reset();
        }
    };
    const auto numbers = [&] {
        std::string firsts;
        for (const std::string& line : files.Lines(held))
            firsts += line.substr(0, line.find(',')) + " ";
        return firsts;
    };

    // Let go while the run's end tries the lines again: the log is whole.
    letGoAfter = 4000;
    f.ToDxfBitBtnClick();
    EXPECT_EQ(numbers(), Utf8(u8"\uFEFF番号 1 2 3 "));
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{Finished});

    // Held for good: the run ends as usual, then says once which log lacks how many lines.
    const std::string first = held;
    held.clear();
    host.messages.clear();
    f.ToDxfBitBtnClick();
    ASSERT_NE(held, first);
    files.Hold(held, false);
    EXPECT_EQ(numbers(), Utf8(u8"\uFEFF番号 1 "));
    EXPECT_EQ(host.messages,
              (std::vector<std::pair<std::string, std::string>>{
                  {Finished, RunCaption},
                  {"実行ログに書き込めなかった行があります (2 行): " + held, RunCaption}}));
    EXPECT_TRUE(host.skippedShown.empty());
    EXPECT_TRUE(f.States.ToDxfBitBtn && !f.States.CancelBitBtn);
}

TEST_F(MainFormRunTest, TheTitleCountsTheDrawingsAndTellsTheTimeLeftWithThreeSessions) {
    for (const char* name : {"C", "D", "E", "F"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    AddDrawing("D:\\図面\\G.dwg", "FAIL");
    MainForm& f = OpenWithDrop({"D:\\図面"});
    VirtualThreads threads{clock};
    f.ToDxfConverter()->SetWorkerThreads(threads);
    f.Controls.AcadArgEdit = "/opendelay:400 /savedelay:200";
    f.AcadCountMenuClick(3);
    f.ToDxfBitBtnClick();
    EXPECT_EQ(windows.Standins().size(), 3u);
    ASSERT_EQ(host.runStatuses.size(), 8u);
    EXPECT_EQ(host.runStatuses.front(), "0/6");
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(std::regex_match(host.runStatuses[n],
                                     std::regex(std::to_string(n) + "/6 残り約 [0-9]+ 秒")))
            << host.runStatuses[n];
    EXPECT_EQ(host.runStatuses[6], "6/6");
    // The caption alone again before the list of drawings not converted.
    EXPECT_EQ(host.runStatuses[7], "");
    EXPECT_EQ(host.titleWhenListed, "");
    ASSERT_EQ(host.skippedShown.size(), 1u);
}

TEST(RunTitle, OneSessionTellsTheMeanTimeOfThoseEndedTimesThoseLeft) {
    RunTitle title;
    EXPECT_EQ(title.Text(), "");
    title.Begin(4, 1);
    EXPECT_EQ(title.Text(), "0/4");
    title.DrawingStarting(0, 5000);
    title.DrawingEnded(0, 15000);
    EXPECT_EQ(title.Text(), "1/4 残り約 30 秒");
    title.DrawingStarting(1, 15000);
    title.DrawingEnded(1, 45000);  // 20 s a drawing, two left
    EXPECT_EQ(title.Text(), "2/4 残り約 40 秒");
    title.Status("AutoCADが終了したため、AutoCADを再起動します (1回目)");
    EXPECT_EQ(title.Text(), "AutoCADが終了したため、AutoCADを再起動します (1回目)");
    title.DrawingStarting(2, 50000);
    title.DrawingEnded(2, 170000);  // 160 s for three
    EXPECT_EQ(title.Text(), "3/4 残り約 53 秒");
    title.DrawingEnded(3, 170000);  // listed without being typed
    EXPECT_EQ(title.Text(), "4/4");
    title.End();
    EXPECT_EQ(title.Text(), "");
}

TEST(RunTitle, ThreeSessionsShareWhatIsLeftAndAreNeverMoreThanTheDrawingsLeft) {
    RunTitle title;
    title.Begin(8, 3);
    for (int i = 0; i < 3; ++i) title.DrawingStarting(i, 0);
    title.DrawingEnded(0, 90000);
    EXPECT_EQ(title.Text(), "1/8 残り約 4 分");  // 90 s × 7 ÷ 3 = 210 s
    title.DrawingEnded(1, 90000);
    title.DrawingEnded(2, 90000);
    for (int i = 3; i < 7; ++i) {
        title.DrawingStarting(i, 90000);
        title.DrawingEnded(i, 180000);
    }
    EXPECT_EQ(title.Text(), "7/8 残り約 2 分");  // one left, for one session: 90 s
    EXPECT_EQ(TimeLeftText(59499), "残り約 59 秒");
    EXPECT_EQ(TimeLeftText(59500), "残り約 1 分");
    EXPECT_EQ(TimeLeftText(149499), "残り約 2 分");
    EXPECT_EQ(TimeLeftText(150000), "残り約 3 分");
}

}  // namespace
}  // namespace tovimo::testing
