// A run against a Unicode AutoCAD: every text of the run reaches it as
// UTF-16, and a drawing with a text that has no such form is listed.
#include <gtest/gtest.h>

#include <algorithm>

#include "conversion_fixture.h"
#include "standin_drawing.h"

namespace tovimo::testing {
namespace {

class ConvertForUnicodeAcad : public ConversionFixture {
protected:
    ConvertForUnicodeAcad() { settings.AcadArg = "/unicode"; }
    std::optional<standin::StandinDrawing> Result(const std::string& path) const {
        const auto content = files.ReadFile(path);
        if (!content) return std::nullopt;
        return standin::ParseDrawing(*content);
    }
    std::vector<std::string> TypedIntoStandin() {
        std::vector<std::string> typed;
        for (const auto& t : Standin().Typed()) typed.push_back(t.text);
        return typed;
    }
};

TEST_F(ConvertForUnicodeAcad, JapaneseDrawingsAreConvertedTheFailingOneListedAndTheVariablesRestored) {
    const std::string folder = "D:\\図面\\";
    for (const char* name : {"ソケット", "表題欄"}) AddDrawing(folder + name + ".dwg");
    AddDrawing(folder + "壊れた.dwg", "FAIL");
    files.AddFile(folder + "表題欄.dxf", "earlier");  // answered with "y"
    settings.Rewite = true;
    settings.SaveTmpdwg = true;
    settings.DYNCancel = true;
    settings.AcadClose = true;
    settings.FileDia = 1;
    settings.ISaveBak = 0;
    settings.ProxyNotice = 1;
    converter->MacroLines = {"open", "#FILE", "saveas", "DXF", "#ENTER", "#SAVEFILE", "#ESC"};

    ASSERT_EQ(Run({folder + "ソケット.dwg", folder + "壊れた.dwg", folder + "表題欄.dwg"}),
              ConvertCarriedOut);
    for (const char* name : {"ソケット", "表題欄"}) {
        SCOPED_TRACE(name);
        const auto result = Result(folder + name + ".dxf");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->format, "DXF");
        EXPECT_EQ(result->source, folder + name + ".dwg");
    }
    ASSERT_EQ(SkippedNames(), std::vector<std::string>{"壊れた.dwg"});
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::OpenFailed);
    EXPECT_EQ(LastMessage(), FinishedText);

    FakeStandin& acad = Standin();
    EXPECT_EQ(acad.Model().SysVar("FILEDIA"), "1");
    EXPECT_EQ(acad.Model().SysVar("ISAVEBAK"), "0");
    EXPECT_EQ(acad.Model().SysVar("PROXYNOTICE"), "1");
    EXPECT_EQ(acad.Model().SysVar("DYNMODE"), "3");  // read, set to 0, put back
    EXPECT_TRUE(acad.Ended());                        // quit
    EXPECT_TRUE(acad.Log("bad-cbdata").empty());
    const auto typed = TypedIntoStandin();
    for (const char* text : {"y\n", "\x1b", "C:\\Tovimo\\tmp.dwg\n", "D:\\図面\\表題欄\n", "DYNMODE\n"})
        EXPECT_NE(std::find(typed.begin(), typed.end(), text), typed.end()) << text;
    for (const auto& message : windows.MessagesOfKind(MessageKind::CopyData))
        EXPECT_EQ(message.cbData, (message.Units().size() + 1) * 2) << message.bytes;
}

TEST_F(ConvertForUnicodeAcad, ADrawingWithATextWithoutAUtf16FormIsListedAndNotBegun) {
    const std::string bad = "D:\\図面\\bad\x81.dwg";  // a lead byte without its trail byte
    for (const std::string& path : {std::string("D:\\図面\\A.dwg"), bad, std::string("D:\\図面\\C.dwg")})
        AddDrawing(path);
    ASSERT_EQ(Run({"D:\\図面\\A.dwg", bad, "D:\\図面\\C.dwg"}), ConvertCarriedOut);
    ASSERT_EQ(converter->LastSkipped().size(), 1u);
    EXPECT_EQ(converter->LastSkipped()[0].path, bad);
    EXPECT_EQ(converter->LastSkipped()[0].reason, SkipReason::NoUnicodeForm);
    EXPECT_TRUE(Result("D:\\図面\\A.dxf"));
    EXPECT_TRUE(Result("D:\\図面\\C.dxf"));
    // Not even the lines before "#FILE": two "open" for two drawings.
    const auto typed = TypedIntoStandin();
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "open\n"), 2);
    EXPECT_TRUE(Standin().Log("bad-cbdata").empty());
    EXPECT_STREQ(SkipReasonText(SkipReason::NoUnicodeForm), "AutoCADに送る文字をUnicodeに変換できません");

    // An ANSI AutoCAD takes the same bytes as they are.
    converter->CloseAcad();
    settings.AcadArg = "/lt";
    Run({bad});
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(Result("D:\\図面\\bad\x81.dxf").value_or(standin::StandinDrawing{}).source, bad);
}

}  // namespace
}  // namespace tovimo::testing
