// The settings file written whole: the edits as the profile functions would
// make them, every line nobody changed kept byte for byte, a write that fails
// midway leaving the old file, and two copies of the window that each write
// only what their user changed.
#include <gtest/gtest.h>

#include "main_form_fixture.h"
#include "settings/profile_text.h"

namespace tovimo::testing {
namespace {

TEST(ProfileText, EditsChangeOnlyTheirLinesAndKeepEverythingElseByteForByte) {
    // A user's notes, another program's section, blanks, LF line ends, a
    // Japanese value whose second byte is "\" and a last line without end.
    const std::string text =
        "; メモ: 設定ファイル\r\n[Other]\nKey=表\r\n\r\n[mainform]\r\n  top = 5\r\nNote=ソ\\\r\n"
        "\r\n[dwgtodxf]\r\nMACRO_LINES=3\r\nmacro0=a\r\nMACRO1=b\r\nMACRO2=c";
    const std::string edited = ApplyProfileEdits(
        text, {{"MainForm", "Top", "7"},
               {"MAINFORM", "Left", "9"},
               {"dwgtodxf", "MACRO_LINES", "1"},
               {"dwgtodxf", "MACRO0", "x"},
               {"dwgtodxf", "MACRO1", std::nullopt},
               {"dwgtodxf", "MACRO2", std::nullopt},
               {"dwgtodxf", "MACRO9", std::nullopt},
               {"dxftodwg", "MACRO_LINES", "0"}});
    EXPECT_EQ(edited,
              "; メモ: 設定ファイル\r\n[Other]\nKey=表\r\n\r\n[mainform]\r\ntop=7\r\nNote=ソ\\\r\n"
              "Left=9\r\n\r\n[dwgtodxf]\r\nMACRO_LINES=1\r\nmacro0=x\r\n"
              "\r\n[dxftodwg]\r\nMACRO_LINES=0\r\n");
    EXPECT_EQ(ProfileKeyNamesIn(edited, "MainForm"), (std::vector<std::string>{"top", "Note", "Left"}));
    EXPECT_TRUE(ProfileTextHasKey(edited, "DXFTODWG", "macro_lines"));
    EXPECT_FALSE(ProfileTextHasKey(edited, "Other", "Top"));
}

TEST(ProfileText, TheFirstOfTwoEqualSectionsIsChangedAndANewFileIsMadeFromNothing) {
    EXPECT_EQ(ApplyProfileEdits("[A]\r\nk=1\r\n[a]\r\nk=2\r\n", {{"A", "k", "3"}}),
              "[A]\r\nk=3\r\n[a]\r\nk=2\r\n");
    EXPECT_EQ(ApplyProfileEdits("", {{"MainForm", "Top", "1"}, {"MainForm", "Left", "2"}}),
              "[MainForm]\r\nTop=1\r\nLeft=2\r\n");
    EXPECT_EQ(ApplyProfileEdits("x", {{"S", "gone", std::nullopt}}), "x");
}

class SettingsFileTest : public MainFormFixture {
protected:
    static constexpr const char* Foreign =
        "; 自分用のメモ\r\n[MainForm]\r\nCommandWait=70\r\nMyNote=消さないで\r\nTop=1\r\n"
        "\r\n[dwgtodxf]\r\nMACRO_LINES=2\r\nMACRO0=open\r\nMACRO1=#FILE\r\n"
        "\r\n[dxftodwg]\r\nMACRO_LINES=1\r\nMACRO0=open\r\n\r\n[OtherProgram]\r\nPath=C:\\ソフト\r\n";

    // A second copy of the window on the same settings file.
    std::unique_ptr<MainForm> OpenCopy(FakeMainFormHost& copyHost) {
        auto copy = std::make_unique<MainForm>(
            MainFormPlatform{{windows, clock, pump, processes, encoding}, profile, fileSystem, order,
                             runs, texts},
            copyHost, Program);
        copy->FormCreate();
        copy->FormShow(113, 203, 274, 742);
        return copy;
    }
};

TEST_F(SettingsFileTest, ASaveKeepsForeignSectionsKeysAndOrderAndReplacesTheFileWhole) {
    SetIni(Foreign);
    MainForm& f = Open();
    f.Controls.CommandWaitEdit = "250";
    f.ToDwgMemo = "open\r\n#FILE\r\nsaveas\r\n";
    Close();
    const std::string text = *profile.Text(Ini);
    EXPECT_TRUE(profile.Writes().empty());  // one whole file, no key by key
    EXPECT_EQ(profile.WholeFileCalls(), (std::vector<std::string>{"lock", "read", "replace", "unlock"}));
    EXPECT_EQ(text.rfind("; 自分用のメモ\r\n[MainForm]\r\nCommandWait=250\r\nMyNote=消さないで\r\nTop=", 0), 0u)
        << text;
    EXPECT_NE(text.find("\r\n[dwgtodxf]\r\nMACRO_LINES=2\r\nMACRO0=open\r\nMACRO1=#FILE\r\n"), std::string::npos);
    EXPECT_NE(text.find("[dxftodwg]\r\nMACRO_LINES=3\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[OtherProgram]\r\nPath=C:\\ソフト\r\n"), std::string::npos);
    // The keys the file lacked are there now, after those it had.
    EXPECT_EQ(ProfileKeyNamesIn(text, "MainForm").size(), 24u);
}

TEST_F(SettingsFileTest, AWriteThatFailsMidwayLeavesTheOldFileAndIsReportedOnce) {
    SetIni(Foreign);
    profile.SetReplaceFailsMidway(Ini, true);
    MainForm& f = Open();
    f.Controls.CommandWaitEdit = "250";
    f.ToDxfMemo = "changed\r\n";
    Close();
    EXPECT_EQ(*profile.Text(Ini), Foreign);
    EXPECT_TRUE(profile.Writes().empty());  // no key by key into a file that may be full
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{std::string(Ini) + " に書き込めません"});
}

TEST_F(SettingsFileTest, WhereNothingCanBeMadeBesideItTheKeysAreWrittenInPlace) {
    SetIni(Foreign);
    profile.SetNothingBeside(Ini, true);
    MainForm& f = Open();
    f.Controls.CommandWaitEdit = "250";
    Close();
    EXPECT_FALSE(profile.Writes().empty());
    EXPECT_NE(profile.Text(Ini)->find("CommandWait=250"), std::string::npos);
    EXPECT_NE(profile.Text(Ini)->find("MyNote=消さないで"), std::string::npos);
    EXPECT_TRUE(host.messages.empty());

    // A file that cannot be read whole is written in place too.
    profile.SetNothingBeside(Ini, false);
    profile.SetUnreadable(Ini, true);
    MainForm& again = Open();
    again.Controls.AcadStartEdit = "40";
    Close();
    profile.SetUnreadable(Ini, false);
    EXPECT_NE(profile.Text(Ini)->find("StartWait=40"), std::string::npos);
    EXPECT_NE(profile.Text(Ini)->find("[OtherProgram]"), std::string::npos);
}

TEST_F(SettingsFileTest, TwoCopiesEachWriteOnlyWhatTheirUserChanged) {
    SetIni(Foreign);
    MainForm& first = Open();
    FakeMainFormHost secondHost{runs};
    std::unique_ptr<MainForm> second = OpenCopy(secondHost);

    first.Controls.CommandWaitEdit = "250";
    first.ToDxfMemo = "open\r\n#FILE\r\nsaveas\r\nDXF\r\n";
    second->Controls.DYNCancelChkBox = true;
    Close();
    second->FormClose();
    const std::string text = *profile.Text(Ini);
    EXPECT_NE(text.find("CommandWait=250"), std::string::npos) << text;
    EXPECT_NE(text.find("MACRO_LINES=4\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\nMACRO3=DXF"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("DYNCancel=1"), std::string::npos);

    // A copy that changed nothing leaves the complete file alone.
    const std::size_t replaces = profile.WholeFileCalls().size();
    FakeMainFormHost thirdHost{runs};
    OpenCopy(thirdHost)->FormClose();
    EXPECT_EQ(*profile.Text(Ini), text);
    EXPECT_EQ(profile.WholeFileCalls().size(), replaces + 3);  // lock, read, unlock

    // But a macro section that the file has lost meanwhile is written again.
    FakeMainFormHost fourthHost{runs};
    std::unique_ptr<MainForm> fourth = OpenCopy(fourthHost);
    SetIni(text.substr(0, text.find("[dxftodwg]")) + text.substr(text.find("[OtherProgram]")));
    fourth->FormClose();
    EXPECT_NE(profile.Text(Ini)->find("[dxftodwg]\r\nMACRO_LINES=1\r\nMACRO0=open\r\n"), std::string::npos)
        << *profile.Text(Ini);
}

TEST_F(SettingsFileTest, ALogoffCalledOffLetsTheRunGoOnAndOneThatEndsSavesAndCancels) {
    AddDrawing("D:\\図面\\A.dwg");
    SetIni("[MainForm]\r\nAcadPath=C:\\Acad\\acad.exe\r\n"
           "[dwgtodxf]\r\nMACRO_LINES=2\r\nMACRO0=open\r\nMACRO1=#FILE\r\n");
    MainForm& f = Open();
    f.WMDropFiles({"D:\\図面"});
    runs.deferred = true;
    f.ToDxfBitBtnClick();
    f.Controls.AcadStartEdit = "45";
    // A logoff asked for and then called off on Windows' screen: refused,
    // and the run goes on to its end as if nothing had been asked.
    EXPECT_FALSE(f.QueryEndSession());
    f.EndSession(false);
    EXPECT_FALSE(f.ToDxfConverter()->Canceled);
    EXPECT_EQ(profile.Text(Ini)->find("StartWait=45"), std::string::npos);
    runs.RunPending();
    EXPECT_EQ(host.closeRequests, 0);
    EXPECT_EQ(host.MessageTexts().back(), "   作業が終わりました      ");

    // A logoff that goes through: the settings saved at once, the run cancelled.
    f.ToDxfBitBtnClick();
    EXPECT_FALSE(f.QueryEndSession());
    f.EndSession(true);
    EXPECT_NE(profile.Text(Ini)->find("StartWait=45"), std::string::npos);
    runs.RunPending();
    EXPECT_EQ(host.MessageTexts().back(), "   作業を中断しました      ");
    EXPECT_TRUE(f.QueryEndSession());
}

}  // namespace
}  // namespace tovimo::testing
