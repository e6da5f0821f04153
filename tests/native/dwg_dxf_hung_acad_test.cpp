// A run against a stand-in AutoCAD that stops answering in the middle of a
// drawing: the run ends at once, the drawing under way and the rest are
// listed, and nothing more is typed into the hung AutoCAD.
#include <gtest/gtest.h>

#include <algorithm>

#include "conversion_fixture.h"

namespace tovimo::testing {
namespace {

class ConvertHungAcad : public ConversionFixture {
protected:
    void SetUp() override {
        settings.WaitLimit = 5;
        settings.RestartLimit = 0;  // the run ends at the first loss
        settings.AcadClose = true;
        AddDrawing("D:\\図面\\A.dwg");
        AddDrawing("D:\\図面\\B.dwg", "HANG");
        AddDrawing("D:\\図面\\C.dwg");
    }
    std::vector<std::string> Sources() const {
        return {"D:\\図面\\A.dwg", "D:\\図面\\B.dwg", "D:\\図面\\C.dwg"};
    }
    // The time B's path was typed.
    std::int64_t HangStart() const {
        for (const auto& t : TypedSinceRun())
            if (t.text == "D:\\図面\\B.dwg\n") return runStart + t.timeMs;
        ADD_FAILURE() << "B was never typed";
        return 0;
    }
    // Everything sent to AutoCAD's windows after B's path.
    std::vector<SentMessage> SentAfterB() const {
        std::vector<SentMessage> after;
        bool seen = false;
        for (const auto& message : windows.Messages()) {
            if (seen && message.kind != MessageKind::SetForeground) after.push_back(message);
            if (message.kind == MessageKind::CopyData && message.Text() == "D:\\図面\\B.dwg\n") seen = true;
        }
        return after;
    }
    void ExpectBAndCListedAsNotAnswering() {
        const auto& skipped = converter->LastSkipped();
        ASSERT_EQ(skipped.size(), 2u);
        EXPECT_EQ(skipped[0].path, "D:\\図面\\B.dwg");
        EXPECT_EQ(skipped[1].path, "D:\\図面\\C.dwg");
        for (const auto& drawing : skipped) EXPECT_EQ(drawing.reason, SkipReason::AcadNotAnswering);
        EXPECT_STREQ(SkipReasonText(SkipReason::AcadNotAnswering), "AutoCADが応答しません");
        EXPECT_TRUE(converter->LastRunLostAcad());
        EXPECT_TRUE(converter->LastRunAcadNotAnswering());
        EXPECT_EQ(converter->MainWindow, 0u);  // the hung AutoCAD is forgotten
        EXPECT_EQ(view.skippedShown.size(), 1u);
        EXPECT_EQ(LastMessage(), CanceledText);
    }
};

TEST_F(ConvertHungAcad, HangingWhileTakingThePathEndsTheRunAfterOneSendLimit) {
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_TRUE(Standin().Hung());
    EXPECT_TRUE(files.ReadFile("D:\\図面\\A.dxf"));
    ExpectBAndCListedAsNotAnswering();
    // No escape, no restore, no quit: the text it did not take was the last.
    EXPECT_TRUE(SentAfterB().empty());
    EXPECT_EQ(clock.NowMs() - HangStart(), 5000);
}

TEST_F(ConvertHungAcad, HangingAfterTakingThePathEndsTheRunWhenTheEscapeIsNotTaken) {
    settings.AcadArg = "/opendelay:300";
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_TRUE(Standin().Hung());
    ExpectBAndCListedAsNotAnswering();
    // The open watch runs out, then the escape that would cancel the open is
    // not taken: it is the one text tried after the path, and it never arrived.
    const auto after = SentAfterB();
    const auto copyData = std::count_if(after.begin(), after.end(), [](const SentMessage& m) {
        return m.kind == MessageKind::CopyData;
    });
    EXPECT_EQ(copyData, 1);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back().Text(), "\x1b");
    EXPECT_FALSE(after.back().delivered);
    EXPECT_EQ(Standin().Typed().back().text, "D:\\図面\\B.dwg\n");
    // The open watch's limit, then one send limit, and the short reads.
    EXPECT_LE(clock.NowMs() - HangStart(), 2 * 5000 + 1000);
}

TEST_F(ConvertHungAcad, HangingDuringTheVariableSetUpListsEveryDrawing) {
    LinkTestWindows("ｺﾏﾝﾄﾞ: ");
    pump.onRun = [this](int) {
        const auto typed = windows.CopyDataTexts();
        if (!typed.empty() && typed.back().text == "FILEDIA\n") windows.HangWindow(converter->MainWindow);
    };
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_EQ(TextsSinceRun(), (std::vector<std::string>{"FILEDIA\n", "0\n"}));
    EXPECT_FALSE(windows.MessagesOfKind(MessageKind::CopyData).back().delivered);
    EXPECT_EQ(view.positions, (std::vector<int>{0, 0}));  // no drawing was begun
    ASSERT_EQ(converter->LastSkipped().size(), 3u);
    for (const auto& drawing : converter->LastSkipped())
        EXPECT_EQ(drawing.reason, SkipReason::AcadNotAnswering);
    EXPECT_EQ(LastMessage(), CanceledText);
}

TEST_F(ConvertHungAcad, TheNextStartLinksAfreshAndTypesAgain) {
    LinkTestWindows("ｺﾏﾝﾄﾞ: ");
    windows.HangWindow(converter->MainWindow);
    Run({"D:\\図面\\A.dwg"});
    ASSERT_TRUE(converter->LastRunAcadNotAnswering());
    // The hung windows are gone (the user ended that AutoCAD); a new one is started.
    windows.RemoveWindow(windows.FindTopWindow("ﾃｷｽﾄ"));
    windows.RemoveWindow(windows.FindTopWindow("AutoCAD LT - [Drawing1.dwg]"));
    ASSERT_EQ(Run({"D:\\図面\\A.dwg"}), ConvertCarriedOut);
    EXPECT_FALSE(converter->LastRunAcadNotAnswering());
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_TRUE(files.ReadFile("D:\\図面\\A.dxf"));
}

}  // namespace
}  // namespace tovimo::testing
