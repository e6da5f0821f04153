// The settings file on real Windows profile functions, next to the in-memory
// profile file that the unit tests use: the same expectations run against
// both, so that the in-memory one is known to behave as Windows does.
#include <functional>
#include <memory>
#include <optional>
#include <chrono>
#include <mutex>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "convert/acad_macro.h"
#include "convert/macro_text.h"
#include "cp932_text_encoding.h"
#include "fake_message_pump.h"
#include "fake_process_launcher.h"
#include "fake_window_system.h"
#include "memory_files.h"
#include "memory_profile_file.h"
#include "platform/win32_profile_file.h"
#include "settings/profile_values.h"
#include "test_files.h"

namespace tovimo {
namespace {

using Lines = std::vector<std::string>;

// Where the settings files of one test live, and how to look at them raw.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual ProfileFile& Profile() = 0;
    // A settings file that does not exist yet; a new one on every call.
    virtual std::string NewPath() = 0;
    // A settings file that cannot be written.
    virtual std::string UnwritablePath() = 0;
    virtual void SetText(const std::string& path, const std::string& text) = 0;
    virtual std::optional<std::string> Text(const std::string& path) = 0;
};

class WindowsStore : public ProfileStore {
public:
    ProfileFile& Profile() override { return profile_; }
    // ASCII names: under Wine with code page 932 a file name with
    // double-byte characters could not be made on these machines.
    std::string NewPath() override {
        return temp_.Path() + "tovimo" + std::to_string(++count_) + ".ini";
    }
    std::string UnwritablePath() override { return temp_.Path() + "missing\\tovimo.ini"; }
    void SetText(const std::string& path, const std::string& text) override {
        ASSERT_TRUE(wine_tests::WriteWholeFile(path, text)) << path;
    }
    std::optional<std::string> Text(const std::string& path) override {
        return wine_tests::ReadWholeFile(path);
    }

private:
    Win32ProfileFile profile_;
    wine_tests::TempFolder temp_{"tovimo-profile"};
    int count_ = 0;
};

class MemoryStore : public ProfileStore {
public:
    ProfileFile& Profile() override { return profile_; }
    std::string NewPath() override {
        return "C:\\Tovimo\\tovimo" + std::to_string(++count_) + ".ini";
    }
    std::string UnwritablePath() override {
        const std::string path = "C:\\Tovimo\\missing\\tovimo.ini";
        profile_.SetWritable(path, false);
        return path;
    }
    void SetText(const std::string& path, const std::string& text) override {
        profile_.SetText(path, text);
    }
    std::optional<std::string> Text(const std::string& path) override {
        return profile_.Text(path);
    }

private:
    testing::MemoryProfileFile profile_;
    int count_ = 0;
};

// Counts the writes that reach the file underneath, and those that failed.
class CountingProfile : public ProfileFile {
public:
    explicit CountingProfile(ProfileFile& inner) : inner_(inner) {}
    std::string ReadString(const std::string& f, const std::string& s, const std::string& k,
                           const std::string& d) override {
        return inner_.ReadString(f, s, k, d);
    }
    std::vector<std::string> ReadKeyNames(const std::string& f, const std::string& s) override {
        return inner_.ReadKeyNames(f, s);
    }
    bool WriteString(const std::string& f, const std::string& s, const std::string& k,
                     const std::string& v) override {
        ++writes;
        const bool written = inner_.WriteString(f, s, k, v);
        failed += written ? 0 : 1;
        return written;
    }
    ProfileText ReadText(const std::string& f) override { return inner_.ReadText(f); }
    ReplaceOutcome ReplaceWhole(const std::string& f, const std::string& t) override {
        return inner_.ReplaceWhole(f, t);
    }
    std::unique_ptr<ProfileLock> LockFolder(const std::string& f) override {
        return inner_.LockFolder(f);
    }
    int writes = 0;
    int failed = 0;

private:
    ProfileFile& inner_;
};

struct RecordingMessages : UserMessages {
    std::vector<std::string> shown;
    void ShowMessage(const std::string& text, const std::string& caption) override {
        shown.push_back(caption + "|" + text);
    }
};

// The lines of a file that are not blank: Windows versions differ in the
// blank lines they put between sections.
Lines TextLines(const std::optional<std::string>& text) {
    Lines lines;
    std::istringstream in(text.value_or(""));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

using StoreFactory = std::function<std::unique_ptr<ProfileStore>()>;

class ProfileTest : public ::testing::TestWithParam<StoreFactory> {
protected:
    ProfileTest() : store(GetParam()()), profile(store->Profile()) {}

    Lines Load(const std::string& path, ProfileFile* through = nullptr) {
        AcadMacro macro(Platform(), through ? *through : profile, messages, path, "dwgtodxf");
        return macro.MacroLines;
    }
    void Save(const std::string& path, const Lines& lines, ProfileFile* through = nullptr) {
        AcadMacro macro(Platform(), through ? *through : profile, messages, path, "dwgtodxf");
        macro.GetMacroLines() = lines;
    }
    AcadPlatform Platform() { return {windows, clock, pump, launcher, encoding}; }

    std::unique_ptr<ProfileStore> store;
    ProfileFile& profile;
    // The macro object never reaches AutoCAD while it loads and saves.
    testing::VirtualClock clock;
    testing::MemoryFiles files;
    testing::FakeWindowSystem windows{clock, files};
    testing::FakeMessagePump pump;
    testing::Cp932TextEncoding encoding;
    testing::FakeProcessLauncher launcher{&clock};
    RecordingMessages messages;
};

TEST_P(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    const std::string path = store->NewPath();
    EXPECT_EQ(profile.ReadString(path, "S", "K", "dflt"), "dflt");
    EXPECT_TRUE(profile.ReadKeyNames(path, "S").empty());
    store->SetText(path, "[S]\r\nK=v\r\n");
    EXPECT_EQ(profile.ReadString(path, "T", "K", "dflt"), "dflt");
    EXPECT_EQ(profile.ReadString(path, "S", "L", "dflt"), "dflt");
    EXPECT_TRUE(profile.ReadKeyNames(path, "T").empty());
}

TEST_P(ProfileTest, NamesIgnoreCaseValuesLoseBlanksAndOneQuotePair) {
    const std::string path = store->NewPath();
    store->SetText(path, "[MainForm]\r\nTop=  12  \r\nQ=\" a \"\r\nS='b'\r\nD=\"\"c\"\"\r\n"
                         "Open=\"d\r\nEmpty=\r\nFirst=1\r\nfirst=2\r\n[Other]\r\nTop=99\r\n");
    EXPECT_EQ(profile.ReadString(path, "mainform", "TOP", ""), "12");
    EXPECT_EQ(profile.ReadString(path, "MainForm", "Q", ""), " a ");
    EXPECT_EQ(profile.ReadString(path, "MainForm", "S", ""), "b");
    EXPECT_EQ(profile.ReadString(path, "MainForm", "D", ""), "\"c\"");
    EXPECT_EQ(profile.ReadString(path, "MainForm", "Open", ""), "\"d");
    EXPECT_EQ(profile.ReadString(path, "MainForm", "Empty", "dflt"), "");
    EXPECT_EQ(profile.ReadString(path, "MainForm", "FIRST", ""), "1");
    EXPECT_EQ(profile.ReadKeyNames(path, "MAINFORM"),
              (Lines{"Top", "Q", "S", "D", "Open", "Empty", "First", "first"}));
    EXPECT_EQ(ReadProfileInteger(profile, path, "MainForm", "Top", 0), 12);
    EXPECT_EQ(ReadProfileInteger(profile, path, "MainForm", "Empty", 7), 7);
    EXPECT_TRUE(ReadProfileBool(profile, path, "MainForm", "First", false));
    EXPECT_TRUE(ReadProfileBool(profile, path, "MainForm", "Missing", true));
    EXPECT_FALSE(ReadProfileBool(profile, path, "MainForm", "Empty", true));
}

TEST_P(ProfileTest, WritesCreateFileSectionAndKeyAndReplaceInPlace) {
    const std::string path = store->NewPath();
    ASSERT_TRUE(profile.WriteString(path, "MainForm", "Top", "1"));
    ASSERT_TRUE(profile.WriteString(path, "MainForm", "Left", "2"));
    ASSERT_TRUE(profile.WriteString(path, "dwgtodxf", "MACRO0", ""));
    ASSERT_TRUE(profile.WriteString(path, "MAINFORM", "top", "3"));
    ASSERT_TRUE(profile.WriteString(path, "MainForm", "Width", "4"));
    EXPECT_EQ(TextLines(store->Text(path)),
              (Lines{"[MainForm]", "Top=3", "Left=2", "Width=4", "[dwgtodxf]", "MACRO0="}));
}

TEST_P(ProfileTest, UnwritableFileRefusesEveryWrite) {
    const std::string path = store->UnwritablePath();
    EXPECT_FALSE(profile.WriteString(path, "S", "K", "v"));
    EXPECT_FALSE(WriteProfileBool(profile, path, "S", "B", true));
    EXPECT_EQ(profile.ReadString(path, "S", "K", "dflt"), "dflt");
    EXPECT_EQ(store->Text(path), std::nullopt);
}

TEST_P(ProfileTest, JapaneseAndLongValuesRoundTripByteForByte) {
    const std::string path = store->NewPath();
    // ソ and 表 end in the byte of "\"; ｺﾏﾝﾄﾞ is half-width katakana.
    const std::string japanese = "C:\\ソフト\\表示\\ｺﾏﾝﾄﾞ.exe";
    const std::string quoted = " \"図面\" ";
    const std::string longValue(5000, 'x');
    ASSERT_TRUE(WriteProfileText(profile, path, "日本語", "Path", japanese));
    ASSERT_TRUE(WriteProfileText(profile, path, "日本語", "Quoted", quoted));
    ASSERT_TRUE(WriteProfileText(profile, path, "日本語", "Long", longValue));
    EXPECT_EQ(ReadProfileString(profile, path, "日本語", "Path", ""), japanese);
    EXPECT_EQ(ReadProfileString(profile, path, "日本語", "Quoted", ""), quoted);
    EXPECT_EQ(ReadProfileString(profile, path, "日本語", "Long", ""), longValue);
    // The file holds code page 932 bytes, as every other program expects.
    const Lines lines = TextLines(store->Text(path));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "[日本語]");
    EXPECT_EQ(lines[1], "Path=" + japanese);
}

TEST_P(ProfileTest, MacroLoadClosesGapsAndNeedsALineCount) {
    const std::string gap = store->NewPath();
    store->SetText(gap, "[dwgtodxf]\r\nMACRO_LINES=4\r\nMACRO0=_open\r\nMACRO2=\r\nMACRO3=#FILE\r\n");
    EXPECT_EQ(Load(gap), (Lines{"_open", "#FILE"}));

    const std::string noCount = store->NewPath();
    store->SetText(noCount, "[dwgtodxf]\r\nMACRO0=a\r\nMACRO1=b\r\n");
    EXPECT_EQ(Load(noCount), Lines{});

    const std::string hex = store->NewPath();
    store->SetText(hex, "[dwgtodxf]\r\nMACRO_LINES=0x1\r\nmacro0=a\r\nMACRO1=b\r\n");
    EXPECT_EQ(Load(hex), Lines{"a"});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_P(ProfileTest, ShortenedMacroLeavesStaleKeys) {
    const std::string path = store->NewPath();
    Save(path, {"a", "b", "c", "d", "e"});
    Save(path, {"x", "y", "z"});
    EXPECT_EQ(TextLines(store->Text(path)),
              (Lines{"[dwgtodxf]", "MACRO_LINES=3", "MACRO0=x", "MACRO1=y", "MACRO2=z",
                     "MACRO3=d", "MACRO4=e"}));
    EXPECT_EQ(Load(path), (Lines{"x", "y", "z"}));
}

TEST_P(ProfileTest, MemoTextSurvivesSaveAndReloadExceptEmptyLines) {
    using namespace std::string_literals;
    const std::string path = store->NewPath();
    const std::string memo = "_open\r#FILE\n\r\n _saveas\r\n\"#SAVEFILE\"\r\n図面ソ\r\n\0dropped"s;
    Save(path, SplitMemoText(memo));
    const Lines written = TextLines(store->Text(path));
    ASSERT_EQ(written.size(), 8u);
    EXPECT_EQ(written[4], "MACRO2=");
    const Lines loaded = Load(path);
    EXPECT_EQ(loaded, (Lines{"_open", "#FILE", " _saveas", "\"#SAVEFILE\"", "図面ソ"}));
    EXPECT_EQ(JoinMemoLines(loaded), "_open\r\n#FILE\r\n _saveas\r\n\"#SAVEFILE\"\r\n図面ソ\r\n");
}

TEST_P(ProfileTest, UnwritableMacroFileIsReportedOnce) {
    const std::string path = store->UnwritablePath();
    CountingProfile counting(profile);
    Save(path, {"a", "b"}, &counting);
    EXPECT_EQ(counting.writes, 3);
    EXPECT_EQ(counting.failed, 3);
    EXPECT_EQ(messages.shown, Lines{"Tovimo|" + path + " に書き込めません"});
}

TEST_P(ProfileTest, AWholeTextReplacesTheFileOrLeavesItAsItWas) {
    using namespace std::string_literals;
    const std::string path = store->NewPath();
    EXPECT_EQ(profile.ReadText(path).state, ProfileText::State::Missing);
    const std::string first = "; 表\r\n[A]\nk=ソ\r\nend"s;
    ASSERT_EQ(profile.ReplaceWhole(path, first), ReplaceOutcome::Replaced);
    ProfileText read = profile.ReadText(path);
    EXPECT_EQ(read.state, ProfileText::State::Read);
    EXPECT_EQ(read.text, first);
    EXPECT_EQ(profile.ReadString(path, "a", "K", ""), "ソ");
    ASSERT_EQ(profile.ReplaceWhole(path, "[B]\r\n"), ReplaceOutcome::Replaced);
    EXPECT_EQ(profile.ReadText(path).text, "[B]\r\n");

    // Nothing can be made where the folder is missing; no file appears.
    const std::string unwritable = store->UnwritablePath();
    EXPECT_EQ(profile.ReplaceWhole(unwritable, "[A]\r\n"), ReplaceOutcome::NothingBeside);
    EXPECT_EQ(profile.ReadText(unwritable).state, ProfileText::State::Missing);
}

INSTANTIATE_TEST_SUITE_P(Windows, ProfileTest,
                         ::testing::Values(StoreFactory([] {
                             return std::unique_ptr<ProfileStore>(new WindowsStore);
                         })));
INSTANTIATE_TEST_SUITE_P(InMemory, ProfileTest,
                         ::testing::Values(StoreFactory([] {
                             return std::unique_ptr<ProfileStore>(new MemoryStore);
                         })));

// Two threads stand for two copies of the window: the second waits until
// the first has let go of the folder.
TEST(ProfileLockTest, ASecondLockOnTheSameFolderWaitsForTheFirst) {
    Win32ProfileFile profile;
    std::vector<std::string> order;
    std::mutex orderMutex;
    const auto note = [&](const char* what) {
        const std::lock_guard<std::mutex> lock(orderMutex);
        order.push_back(what);
    };
    auto first = profile.LockFolder("C:\\Tovimo\\tovimo.ini");
    std::thread second([&] {
        auto lock = profile.LockFolder("c:\\TOVIMO\\other.ini");
        note("second locked");
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    note("first lets go");
    first.reset();
    second.join();
    EXPECT_EQ(order, (std::vector<std::string>{"first lets go", "second locked"}));
    EXPECT_NE(ProfileLockName("C:\\Tovimo\\tovimo.ini"), ProfileLockName("C:\\Other\\tovimo.ini"));
}

}  // namespace
}  // namespace tovimo
