// A drawing counts as converted only when the file its macro named was
// written: the expected path, the comparison of the two looks, and runs
// against the stand-in AutoCAD where the save fails in the ways it does.
#include <gtest/gtest.h>

#include <algorithm>

#include "conversion_fixture.h"
#include "convert/result_check.h"
#include "standin_drawing.h"

namespace tovimo::testing {
namespace {

TEST(ExpectedResult, TheDirectionsExtensionIsAddedUnlessTheTargetEndsWithIt) {
    EXPECT_EQ(ResultExtension("dwgtodxf"), ".dxf");
    EXPECT_EQ(ResultExtension("dxftodwg"), ".dwg");
    EXPECT_EQ(ResultExtension("DWGTODXF"), "");
    EXPECT_EQ(ExpectedResultPath("D:\\図面\\A", ".dxf"), "D:\\図面\\A.dxf");
    EXPECT_EQ(ExpectedResultPath("D:\\図面\\a.b", ".dwg"), "D:\\図面\\a.b.dwg");
    // AutoCAD adds nothing to a name that ends with the extension already.
    EXPECT_EQ(ExpectedResultPath("D:\\x.DXF", ".dxf"), "D:\\x.DXF");
    EXPECT_EQ(ExpectedResultPath("D:\\x.dxf", ".dwg"), "D:\\x.dxf.dwg");
    // "ソ" ends in the byte of "\"; the name is still a name.
    EXPECT_EQ(ExpectedResultPath("D:\\ソ", ".dxf"), "D:\\ソ.dxf");
    EXPECT_EQ(ExpectedResultPath("dxf", ".dxf"), "dxf.dxf");
}

TEST(ResultWritten, ANewOrChangedFileCountsAndAnUnchangedMissingOrEmptyOneDoesNot) {
    const FileStamp missing;
    const FileStamp old{true, 1000, 50};
    EXPECT_TRUE(ResultWritten(missing, {true, 5, 50}));
    EXPECT_FALSE(ResultWritten(missing, missing));
    EXPECT_FALSE(ResultWritten(old, old));
    EXPECT_FALSE(ResultWritten(old, missing));  // deleted, not written
    EXPECT_TRUE(ResultWritten(old, {true, 3000, 50}));
    // Within one step of a coarse clock only the size can show the write.
    EXPECT_TRUE(ResultWritten(old, {true, 1000, 51}));
    // A file left empty is a write that failed half way.
    EXPECT_FALSE(ResultWritten(missing, {true, 5, 0}));
    EXPECT_FALSE(ResultWritten(old, {true, 3000, 0}));
}

TEST(ResultUpToDate, OnlyAResultThatHoldsSomethingAtItsDrawingsTimeWithin2sIs) {
    constexpr std::uint64_t second = FileTimeStepsPerSecond;
    const FileStamp drawing{true, 100 * second, 5000};
    // At the drawing's own time, as a run leaves it; a FAT step either way.
    EXPECT_TRUE(ResultUpToDate(drawing, {true, 100 * second, 50}));
    EXPECT_TRUE(ResultUpToDate(drawing, {true, 102 * second, 50}));
    EXPECT_TRUE(ResultUpToDate(drawing, {true, 98 * second, 50}));
    // Newer by more: written by something else, or cut short by a run that
    // never set its time. Older: the drawing changed since.
    EXPECT_FALSE(ResultUpToDate(drawing, {true, 102 * second + 1, 50}));
    EXPECT_FALSE(ResultUpToDate(drawing, {true, 98 * second - 1, 50}));
    // An empty result is what a failed save leaves, whatever its time.
    EXPECT_FALSE(ResultUpToDate(drawing, {true, 100 * second, 0}));
    EXPECT_FALSE(ResultUpToDate(drawing, FileStamp{}));
    EXPECT_FALSE(ResultUpToDate(FileStamp{}, {true, 0, 50}));
}

class ResultCheckRun : public ConversionFixture {
protected:
    void SetUp() override {
        for (const char* name : {"A", "B", "C"}) AddDrawing(std::string("D:\\図面\\") + name + ".dwg");
    }
    static std::vector<std::string> Sources() {
        return {"D:\\図面\\A.dwg", "D:\\図面\\B.dwg", "D:\\図面\\C.dwg"};
    }
    void SaveInto(const std::string& folder) {
        settings.SaveSameDir = false;
        settings.SaveChildDir = false;
        settings.SaveDir = folder;
    }
    std::vector<SkipReason> Reasons() const {
        std::vector<SkipReason> reasons;
        for (const auto& s : converter->LastSkipped()) reasons.push_back(s.reason);
        return reasons;
    }
    long Count(const std::string& text) const {
        const auto texts = TextsSinceRun();
        return std::count(texts.begin(), texts.end(), text);
    }
    std::string Format(const std::string& path) const {
        return standin::ParseDrawing(files.ReadFile(path).value_or("")).format;
    }
    std::uint64_t TimeOf(const std::string& path) { return fileSystem.GetFileStamp(path).lastWriteTime; }
};

TEST_F(ResultCheckRun, EachResultCountedAsConvertedGetsItsDrawingsTimeEvenIfOneCannot) {
    AddDrawing("D:\\図面\\B.dwg", "FAIL");
    clock.Sleep(60000);  // the drawings are a minute old
    // Another program holds C's result once AutoCAD has written it: its
    // time cannot be set.
    pump.onRun = [&](int) {
        if (windows.CopyDataTexts().back().text == "D:\\図面\\C\n") files.Hold("D:\\図面\\C.dxf");
    };
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_EQ(Reasons(), std::vector<SkipReason>{SkipReason::OpenFailed});
    EXPECT_EQ(Format("D:\\図面\\C.dxf"), "DXF");
    EXPECT_EQ(TimeOf("D:\\図面\\A.dxf"), TimeOf("D:\\図面\\A.dwg"));
    EXPECT_GT(TimeOf("D:\\図面\\C.dxf"), TimeOf("D:\\図面\\C.dwg") + ResultTimeTolerance);
}

TEST_F(ResultCheckRun, AReadOnlyOutputFolderListsEveryDrawingAndTheRunGoesOn) {
    files.AddFolder("E:\\出力");
    files.MakeReadOnly("E:\\出力");
    SaveInto("E:\\出力");
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_EQ(SkippedNames(), (std::vector<std::string>{"A.dwg", "B.dwg", "C.dwg"}));
    EXPECT_EQ(Reasons(), std::vector<SkipReason>(3, SkipReason::ResultNotWritten));
    // AutoCAD said so on its command line each time; every drawing was tried.
    EXPECT_EQ(Standin().Log("write-failed").size(), 3u);
    EXPECT_EQ(Count("open\n"), 3);
    EXPECT_TRUE(files.List("E:\\出力").empty());
    ASSERT_EQ(view.skippedShown.size(), 1u);
    EXPECT_EQ(view.skippedShown[0].size(), 3u);
    EXPECT_EQ(LastMessage(), FinishedText);
}

TEST_F(ResultCheckRun, AFolderStandingAtTheResultPathListsOnlyThatDrawing) {
    files.AddFolder("D:\\図面\\b.DXF");  // found without regard to letter case
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_EQ(SkippedNames(), std::vector<std::string>{"B.dwg"});
    EXPECT_EQ(Reasons(), std::vector<SkipReason>{SkipReason::ResultNotWritten});
    EXPECT_EQ(Format("D:\\図面\\A.dxf"), "DXF");
    EXPECT_EQ(Format("D:\\図面\\C.dxf"), "DXF");
}

TEST_F(ResultCheckRun, AnExistingResultCountsOnlyWhenItIsRewritten) {
    files.AddFile("D:\\図面\\A.dxf", "old A");
    files.AddFolder("E:\\ro");
    files.AddFile("E:\\ro\\B.dxf", "old B");
    files.MakeReadOnly("E:\\ro");
    settings.Rewite = true;
    // A rewritten result beside its drawing: converted.
    ASSERT_EQ(Run({"D:\\図面\\A.dwg"}), ConvertCarriedOut);
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(Format("D:\\図面\\A.dxf"), "DXF");
    EXPECT_EQ(Count("y\n"), 1);

    // The overwrite is agreed to, but the folder refuses the write: the old
    // file is still there, and it does not pass for a result.
    SaveInto("E:\\ro");
    ASSERT_EQ(Run({"D:\\図面\\B.dwg"}), ConvertCarriedOut);
    EXPECT_EQ(Count("y\n"), 1);
    EXPECT_EQ(files.ReadFile("E:\\ro\\B.dxf"), "old B");
    EXPECT_EQ(Reasons(), std::vector<SkipReason>{SkipReason::ResultNotWritten});
}

TEST_F(ResultCheckRun, AMistypedMacroLineLeavesEveryResultUnwritten) {
    files.AddFile("D:\\図面\\A.dxf", "old A");  // an old result does not pass for a new one
    settings.Rewite = true;
    converter->MacroLines = {"open", "#FILE", "saveass", "DXF", "#ENTER", "#SAVEFILE"};
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_EQ(Reasons(), std::vector<SkipReason>(3, SkipReason::ResultNotWritten));
    EXPECT_EQ(files.ReadFile("D:\\図面\\A.dxf"), "old A");
}

TEST_F(ResultCheckRun, AMacroThatSavesItsOwnWayIsNotChecked) {
    // No "#SAVEFILE": the name is the macro's own, so there is nothing to expect.
    converter->MacroLines = {"open", "#FILE", "saveas", "DXF", "#ENTER", "E:\\own\\result"};
    files.AddFolder("E:\\own");
    settings.Rewite = true;  // the three drawings share the name
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(Format("E:\\own\\result.dxf"), "DXF");
    EXPECT_FALSE(files.FileExists("D:\\図面\\A.dxf"));
    EXPECT_TRUE(view.skippedShown.empty());
}

TEST_F(ResultCheckRun, ADrawingListedForAnotherReasonIsNotListedTwice) {
    AddDrawing("D:\\図面\\B.dwg", "FAIL");
    files.AddFile("D:\\図面\\C.dxf", "old C");
    settings.Rewite = false;
    ASSERT_EQ(Run(Sources()), ConvertCarriedOut);
    EXPECT_EQ(SkippedNames(), (std::vector<std::string>{"B.dwg", "C.dwg"}));
    EXPECT_EQ(Reasons(), (std::vector<SkipReason>{SkipReason::OpenFailed, SkipReason::ResultExists}));
    EXPECT_EQ(files.ReadFile("D:\\図面\\C.dxf"), "old C");
}

TEST_F(ResultCheckRun, OnACoarseClockARewriteIsToldBySizeAndOtherwiseNotTrusted) {
    // FAT keeps last-write times to 2 s; this clock is coarser still, so that
    // the three runs fall within one step. Drawings of one name, one run
    // each, meet in one output folder, and each overwrites the result of the
    // one before.
    files.SetTimeResolution(60000);
    files.AddFolder("E:\\out");
    AddDrawing("D:\\a\\X.dwg");
    AddDrawing("D:\\bb\\X.dwg");  // its result names a longer source
    AddDrawing("D:\\cc\\X.dwg");  // as long as the one before
    SaveInto("E:\\out");
    settings.Rewite = true;
    settings.CommandWait = 0;
    ASSERT_EQ(Run({"D:\\a\\X.dwg"}), ConvertCarriedOut);
    ASSERT_EQ(Run({"D:\\bb\\X.dwg"}), ConvertCarriedOut);
    // The second write changed the size.
    EXPECT_TRUE(converter->LastSkipped().empty());
    ASSERT_EQ(Run({"D:\\cc\\X.dwg"}), ConvertCarriedOut);
    ASSERT_EQ(Standin().Log("write").size(), 3u);
    ASSERT_LT(clock.NowMs(), 60000);
    // The third changed nothing that the file system shows, so it is listed
    // rather than trusted.
    EXPECT_EQ(SkippedNames(), std::vector<std::string>{"X.dwg"});
    EXPECT_EQ(converter->LastSkipped()[0].path, "D:\\cc\\X.dwg");
    EXPECT_EQ(Reasons(), std::vector<SkipReason>{SkipReason::ResultNotWritten});
}

}  // namespace
}  // namespace tovimo::testing
