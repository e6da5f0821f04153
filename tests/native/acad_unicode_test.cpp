// The link and a Unicode AutoCAD: the form of the command text is taken
// from AutoCAD's main window, once for each main window the link takes.
#include <gtest/gtest.h>

#include "acad_fixture.h"

namespace tovimo::testing {
namespace {

class AcadUnicode : public AcadFixture {
protected:
    std::vector<SentMessage> CopyData() const { return windows.MessagesOfKind(MessageKind::CopyData); }
    FakeStandin& Standin() { return *windows.LatestStandin(); }
};

TEST_F(AcadUnicode, AUnicodeMainWindowGetsEveryTextAsUtf16WithItsZeroUnit) {
    LinkStandin("/unicode");
    EXPECT_EQ(acad.CommandForm(), CommandTextForm::Utf16);
    ASSERT_TRUE(acad.SendCommand("D:\\図面\\ソ表.dwg\n"));
    auto sent = CopyData();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].dwData, 1u);
    EXPECT_EQ(sent[0].Units(), u"D:\\図面\\ソ表.dwg\n");
    EXPECT_EQ(sent[0].cbData, 28u);
    EXPECT_EQ(sent[0].bytes.size(), 28u);
    // The pauses and the wake-up stay as they were.
    EXPECT_EQ(clock.Sleeps(), (std::vector<int>{30, 30}));
    EXPECT_EQ(windows.MessagesOfKind(MessageKind::Null).size(), 1u);

    // AutoCAD understood it, and its prompts read as before.
    acad.SendCommand("\x1b");
    acad.SetSysVar("FILEDIA", "0");
    EXPECT_EQ(Standin().Model().SysVar("FILEDIA"), "0");
    EXPECT_EQ(acad.GetSysVar("FILEDIA"), "0");
    EXPECT_TRUE(acad.IsCommandPrompt());
    EXPECT_EQ(Standin().Typed().front().text, "D:\\図面\\ソ表.dwg\n");
    EXPECT_TRUE(Standin().Log("bad-cbdata").empty());
    for (const auto& message : CopyData())
        EXPECT_EQ(message.cbData, (message.Units().size() + 1) * 2) << message.bytes;
    // Asked once, when the link took the window.
    EXPECT_EQ(windows.UnicodeQueries(), 1);
}

TEST_F(AcadUnicode, AnAnsiMainWindowGetsTheBytesAsBefore) {
    LinkStandin("/full");
    EXPECT_EQ(acad.CommandForm(), CommandTextForm::Cp932);
    const std::string text = "D:\\図面\\ソ表.dwg\n";
    ASSERT_TRUE(acad.SendCommand(text));
    const auto sent = CopyData();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, text + '\0');
    EXPECT_EQ(sent[0].cbData, text.size() + 1);
    EXPECT_EQ(encoding.conversions, 0);
    EXPECT_EQ(Standin().Typed().back().text, text);
}

TEST_F(AcadUnicode, TheFormIsDecidedAnewForEachNewMainWindow) {
    // Unicode, then an ANSI AutoCAD started in its place, then Unicode again.
    for (const char* args : {"/unicode", "/lt", "/unicode /full /fullwidth"}) {
        SCOPED_TRACE(args);
        acad.SetAcadPath(StandinProgram);
        acad.AcadArgs = args;
        ASSERT_EQ(acad.StartAcad(15), AcadReady);
        const bool unicode = std::string(args).find("/unicode") != std::string::npos;
        EXPECT_EQ(acad.CommandForm(), unicode ? CommandTextForm::Utf16 : CommandTextForm::Cp932);
        windows.ClearMessages();
        acad.CloseAcad();
        // "quit" reached it in the form it reads: it has ended.
        EXPECT_TRUE(Standin().Ended());
        EXPECT_EQ(Standin().Typed().back().text, "quit\n");
        EXPECT_TRUE(Standin().Log("bad-cbdata").empty());
        EXPECT_EQ(CopyData().at(0).cbData, unicode ? 12u : 6u);
    }
}

TEST_F(AcadUnicode, ATextWithoutAUtf16FormIsNotTypedIntoAUnicodeAutoCad) {
    const std::string text = "D:\\bad\x81\n";
    LinkStandin("/unicode");
    EXPECT_FALSE(acad.HasCommandForm(text));
    EXPECT_FALSE(acad.SendCommand(text));
    EXPECT_TRUE(windows.Messages().empty());
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(pump.runs, 1);  // pending messages still run
    EXPECT_TRUE(acad.HasCommandForm("D:\\図面\\A.dwg\n"));
    acad.CloseAcad();

    // An ANSI AutoCAD is given the bytes as they are.
    LinkStandin("/lt");
    EXPECT_TRUE(acad.HasCommandForm(text));
    EXPECT_TRUE(acad.SendCommand(text));
    EXPECT_EQ(CopyData().at(0).bytes, text + '\0');
}

}  // namespace
}  // namespace tovimo::testing
