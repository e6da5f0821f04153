#include "convert/acad_macro.h"

#include <memory>

#include <gtest/gtest.h>

#include "convert/macro_text.h"
#include "cp932_text_encoding.h"
#include "fake_message_pump.h"
#include "fake_process_launcher.h"
#include "fake_window_system.h"
#include "memory_files.h"
#include "memory_profile_file.h"
#include "virtual_clock.h"

namespace tovimo {
namespace {

using Lines = std::vector<std::string>;
const std::string Ini = "C:\\Program Files\\Tovimo\\tovimo.ini";

struct RecordedMessage {
    std::string text;
    std::string caption;
};

struct RecordingMessages : UserMessages {
    std::vector<RecordedMessage> shown;
    void ShowMessage(const std::string& text, const std::string& caption) override {
        shown.push_back({text, caption});
    }
};

class AcadMacroTest : public ::testing::Test {
protected:
    std::unique_ptr<AcadMacro> Make(const std::string& section = "dwgtodxf") {
        return std::make_unique<AcadMacro>(AcadPlatform{windows, clock, pump, launcher, encoding}, profile,
                                           messages, Ini, section);
    }
    Lines Load(const std::string& section = "dwgtodxf") { return Make(section)->MacroLines; }
    // Makes a macro object, gives it these lines and destroys it.
    void Save(const Lines& lines, const std::string& section = "dwgtodxf") {
        auto macro = Make(section);
        macro->GetMacroLines() = lines;
    }
    std::string Text() { return profile.Text(Ini).value_or("<no file>"); }

    // Loading and saving a macro must never reach AutoCAD.
    void ExpectAcadUntouched() {
        EXPECT_TRUE(windows.Messages().empty());
        EXPECT_TRUE(launcher.Calls().empty());
        EXPECT_EQ(pump.runs, 0);
        EXPECT_TRUE(clock.Sleeps().empty());
    }

    testing::VirtualClock clock;
    testing::MemoryFiles files;
    testing::FakeWindowSystem windows{clock, files};
    testing::FakeMessagePump pump;
    testing::Cp932TextEncoding encoding;
    testing::FakeProcessLauncher launcher{&clock};
    testing::MemoryProfileFile profile;
    RecordingMessages messages;
};

TEST_F(AcadMacroTest, MissingLineKeysCloseUp) {
    profile.SetText(Ini, "[dwgtodxf]\r\nMACRO_LINES=3\r\nMACRO0=_open\r\nMACRO2=#FILE\r\n");
    EXPECT_EQ(Load(), (Lines{"_open", "#FILE"}));
    profile.SetText(Ini, "[dwgtodxf]\r\nMACRO_LINES=4\r\nMACRO0=a\r\nMACRO1=\r\nMACRO2=  \r\n"
                         "MACRO3=d\r\n");
    EXPECT_EQ(Load(), (Lines{"a", "d"}));
}

TEST_F(AcadMacroTest, LineCountDecidesHowManyKeysAreRead) {
    const std::string lines = "MACRO0=a\r\nMACRO1=b\r\nMACRO2=c\r\nMACRO3=d\r\nMACRO4=e\r\n";
    profile.SetText(Ini, "[dwgtodxf]\r\n" + lines);
    EXPECT_EQ(Load(), Lines{});
    for (const char* count : {"abc", "-2", "0", ""}) {
        profile.SetText(Ini, "[dwgtodxf]\r\nMACRO_LINES=" + std::string(count) + "\r\n" + lines);
        EXPECT_EQ(Load(), Lines{}) << count;
    }
    profile.SetText(Ini, "[dwgtodxf]\r\nMACRO_LINES=0x2\r\n" + lines);
    EXPECT_EQ(Load(), (Lines{"a", "b"}));
    profile.SetText(Ini, "[dwgtodxf]\r\nMACRO_LINES=$3\r\n" + lines);
    EXPECT_EQ(Load(), (Lines{"a", "b", "c"}));
}

TEST_F(AcadMacroTest, LineKeysAreDecimalWithoutLeadingZeros) {
    std::string text = "[dwgtodxf]\r\nMACRO_LINES=$B\r\n";
    for (int i = 11; i >= 0; --i) {  // file order is not line order
        text += "MACRO" + std::to_string(i) + "=L" + std::to_string(i) + "\r\n";
    }
    text += "MACRO01=zero-one\r\nmacro11=late\r\n";
    profile.SetText(Ini, text);
    EXPECT_EQ(Load(), (Lines{"L0", "L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9", "L10"}));
}

TEST_F(AcadMacroTest, HugeLineCountLoadsThePresentLinesAtOnce) {
    profile.SetText(Ini, "[dwgtodxf]\r\nMACRO_LINES=2147483647\r\nMACRO0=a\r\nmacro7=b\r\n");
    EXPECT_EQ(Load(), (Lines{"a", "b"}));
}

TEST_F(AcadMacroTest, EachDirectionHasItsOwnSection) {
    profile.SetText(Ini, "[MainForm]\r\nTop=1\r\n[dwgtodxf]\r\nMACRO_LINES=1\r\nMACRO0=dxf\r\n"
                         "[DXFTODWG]\r\nMACRO_LINES=1\r\nMACRO0=dwg\r\n");
    EXPECT_EQ(Load("dwgtodxf"), Lines{"dxf"});
    EXPECT_EQ(Load("dxftodwg"), Lines{"dwg"});
}

TEST_F(AcadMacroTest, LoadingNeedsNoFileAndTouchesNothingElse) {
    auto macro = Make();
    EXPECT_TRUE(macro->MacroLines.empty());
    EXPECT_EQ(&macro->GetMacroLines(), &macro->MacroLines);
    EXPECT_EQ(macro->IniFileName, Ini);
    EXPECT_EQ(macro->MacroSection, "dwgtodxf");
    EXPECT_TRUE(profile.Writes().empty());
    EXPECT_TRUE(messages.shown.empty());
    ExpectAcadUntouched();
}

TEST_F(AcadMacroTest, SavesLineCountFirstThenLinesInOrder) {
    profile.SetText(Ini, "[MainForm]\r\nTop=5\r\n");
    Save({"_open", "#FILE", "_saveas"});
    EXPECT_EQ(Text(), "[MainForm]\r\nTop=5\r\n[dwgtodxf]\r\nMACRO_LINES=3\r\nMACRO0=_open\r\n"
                      "MACRO1=#FILE\r\nMACRO2=_saveas\r\n");
    Lines keys;
    for (const auto& write : profile.Writes()) {
        keys.push_back(write.section + "/" + write.key);
    }
    EXPECT_EQ(keys, (Lines{"dwgtodxf/MACRO_LINES", "dwgtodxf/MACRO0", "dwgtodxf/MACRO1",
                           "dwgtodxf/MACRO2"}));
    EXPECT_TRUE(messages.shown.empty());
    ExpectAcadUntouched();
}

TEST_F(AcadMacroTest, ShortenedMacroLeavesStaleKeysUnread) {
    Save({"a", "b", "c", "d", "e"});
    Save({"x", "y", "z"});
    EXPECT_EQ(Text(), "[dwgtodxf]\r\nMACRO_LINES=3\r\nMACRO0=x\r\nMACRO1=y\r\nMACRO2=z\r\n"
                      "MACRO3=d\r\nMACRO4=e\r\n");
    EXPECT_EQ(Load(), (Lines{"x", "y", "z"}));
    Save({});
    EXPECT_EQ(Load(), Lines{});
    EXPECT_NE(Text().find("MACRO_LINES=0\r\n"), std::string::npos);
}

TEST_F(AcadMacroTest, EmptyMemoLineIsWrittenEmptyAndGoneAfterReload) {
    Save(SplitMemoText("_open\r\n\r\n#FILE\r\n"));
    EXPECT_EQ(Text(), "[dwgtodxf]\r\nMACRO_LINES=3\r\nMACRO0=_open\r\nMACRO1=\r\nMACRO2=#FILE\r\n");
    EXPECT_EQ(Load(), (Lines{"_open", "#FILE"}));
}

TEST_F(AcadMacroTest, LinesRoundTripByteForByte) {
    // Blanks matter on AutoCAD's command line (a blank is Enter), so they
    // must survive the settings file, as must quotes and double-byte text.
    const Lines lines{" #FILE", "_saveas ", "\"quoted\"", "'x'", "\"", "図面\\表示ソ"};
    Save(lines);
    const Lines loaded = Load();
    EXPECT_EQ(loaded, lines);
    EXPECT_EQ(ClassifyMacroLine(loaded.front()), MacroLineKind::Command);
}

TEST_F(AcadMacroTest, UnwritableFileIsReportedOnceAndEveryWriteIsTried) {
    const std::string before = "[dwgtodxf]\r\nMACRO_LINES=1\r\nMACRO0=old\r\n";
    profile.SetText(Ini, before);
    profile.SetWritable(Ini, false);
    Save({"a", "b", "c"});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Ini + " \x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc"
                                            "\x82\xb9\x82\xf1");  // に書き込めません
    EXPECT_EQ(messages.shown[0].caption, "Tovimo");
    EXPECT_EQ(profile.Writes().size(), 4u);
    EXPECT_EQ(Text(), before);
}

TEST(ClassifyMacroLineTest, OnlyTheExactLineIsAPlaceholder) {
    EXPECT_EQ(ClassifyMacroLine("#FILE"), MacroLineKind::SourceFile);
    EXPECT_EQ(ClassifyMacroLine("#SAVEFILE"), MacroLineKind::SaveFile);
    EXPECT_EQ(ClassifyMacroLine("#TMPNAME"), MacroLineKind::TmpName);
    EXPECT_EQ(ClassifyMacroLine("#ENTER"), MacroLineKind::Enter);
    EXPECT_EQ(ClassifyMacroLine("#ESC"), MacroLineKind::Escape);
    for (const char* placeholder : {"#FILE", "#SAVEFILE", "#TMPNAME", "#ENTER", "#ESC"}) {
        std::string lower = placeholder;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const std::string p = placeholder;
        for (const std::string& near : {lower, " " + p, p + " ", "\t" + p, p + "\t", p + "X",
                                        "_open " + p, p + "\r", p.substr(1)}) {
            EXPECT_EQ(ClassifyMacroLine(near), MacroLineKind::Command) << '[' << near << ']';
        }
    }
    EXPECT_EQ(ClassifyMacroLine(""), MacroLineKind::Command);
    EXPECT_EQ(ClassifyMacroLine("#File"), MacroLineKind::Command);
}

}  // namespace
}  // namespace tovimo
