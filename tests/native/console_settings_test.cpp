// The settings of a console run: the file read as the window reads it, the
// stricter checks, the command line laid over it, and a macro that is
// never written back.
#include <gtest/gtest.h>

#include "console/console_settings.h"
#include "convert/acad_macro.h"
#include "cp932_text_encoding.h"
#include "fake_message_pump.h"
#include "fake_process_launcher.h"
#include "fake_window_system.h"
#include "memory_file_system.h"
#include "memory_files.h"
#include "memory_profile_file.h"
#include "virtual_clock.h"

namespace tovimo::testing {
namespace {

constexpr const char* ProgramFolder = "C:\\Tovimo\\";
constexpr const char* DefaultIni = "C:\\Tovimo\\tovimo.ini";

class ConsoleSettingsTest : public ::testing::Test {
protected:
    ConsoleSettingsTest() {
        files.AddFolder("C:\\Tovimo");
        files.AddFolder("E:\\out");
    }

    void WriteIni(const std::string& mainForm, const std::string& path = DefaultIni) {
        const std::string text = "[MainForm]\r\n" + mainForm;
        profile.SetText(path, text);
        files.AddFile(path, text);
    }

    ConsoleSettingsResult Read(const std::vector<std::string>& args) {
        std::vector<std::string> full{"dxf"};
        full.insert(full.end(), args.begin(), args.end());
        full.push_back("D:\\a.dwg");
        const ParsedArguments parsed = ParseCommandArguments(full);
        EXPECT_TRUE(parsed.arguments) << parsed.error;
        return ReadConsoleSettings(profile, fileSystem, *parsed.arguments, ProgramFolder);
    }
    MainFormSettings Settings(const std::vector<std::string>& args = {}) {
        const ConsoleSettingsResult result = Read(args);
        EXPECT_TRUE(result.errors.empty()) << ::testing::PrintToString(result.errors);
        return result.settings ? result.settings->settings : MainFormSettings{};
    }

    MemoryFiles files;
    MemoryFileSystem fileSystem{files};
    MemoryProfileFile profile;
};

TEST_F(ConsoleSettingsTest, WithoutOptionsTheFileDecidesAndMissingKeysTakeTheWindowsDefaults) {
    WriteIni("GetChildFolder=1\r\nRewite=0\r\nSaveChildDir=0\r\nSaveSameDir=0\r\nSaveDir=E:\\out\r\n"
             "CommandWait=\r\nFileDia=-2\r\nAcadArg=/nologo\r\nUpdateOnly=1\r\nRunLog=1\r\n");
    const ConsoleSettingsResult result = Read({});
    ASSERT_TRUE(result.settings);
    EXPECT_EQ(result.settings->file, DefaultIni);
    const MainFormSettings& s = result.settings->settings;
    EXPECT_TRUE(s.GetChildFolder);
    EXPECT_FALSE(s.Rewite);
    EXPECT_FALSE(s.SaveChildDir);
    EXPECT_FALSE(s.SaveSameDir);
    EXPECT_EQ(s.SaveDir, "E:\\out");
    EXPECT_EQ(s.CommandWait, 100);  // empty: not set
    EXPECT_EQ(s.StartWait, 15);
    EXPECT_EQ(s.FileDia, -2);       // an end value may be negative
    EXPECT_EQ(s.AcadArg, "/nologo");
    EXPECT_TRUE(s.AcadClose);
    // The window's own: /u and /log decide for TovimoCmd.
    EXPECT_FALSE(s.UpdateOnly || s.RunLog);
}

TEST_F(ConsoleSettingsTest, OptionsOverrideTheirSettingsForTheRunOnly) {
    WriteIni("GetChildFolder=0\r\nRewite=1\r\nSaveChildDir=1\r\nSaveSameDir=1\r\n");
    const MainFormSettings s = Settings({"/s", "/n", "/o", "E:\\out", "/-k"});
    EXPECT_TRUE(s.GetChildFolder);
    EXPECT_FALSE(s.Rewite);
    EXPECT_FALSE(s.SaveSameDir);
    EXPECT_EQ(s.SaveDir, "E:\\out");
    EXPECT_FALSE(s.SaveChildDir);

    // /o alone leaves SaveChildDir to the file.
    EXPECT_TRUE(Settings({"/o", "E:\\out"}).SaveChildDir);
    EXPECT_TRUE(Settings({"/y"}).Rewite);
}

TEST_F(ConsoleSettingsTest, RelativeFilesAndFoldersAreMadeFullAgainstTheCurrentFolder) {
    // A bare name would make the profile functions look in the Windows
    // folder, and AutoCAD has a current folder of its own.
    fileSystem.CurrentDirectory = "E:\\";
    WriteIni("CommandWait=7\r\n", "E:\\my.ini");
    const ConsoleSettingsResult result = Read({"/ini", "my.ini", "/o", "out"});
    ASSERT_TRUE(result.settings) << ::testing::PrintToString(result.errors);
    EXPECT_EQ(result.settings->file, "E:\\my.ini");
    EXPECT_EQ(result.settings->settings.CommandWait, 7);
    EXPECT_EQ(result.settings->settings.SaveDir, "E:\\out");
}

TEST_F(ConsoleSettingsTest, EveryValueThatIsNoIntegerIsNamed) {
    WriteIni("CommandWait=1O0\r\nStartWait=15s\r\nISaveBak=one\r\nProxyNotice=0x1\r\nTop=abc\r\n");
    const ConsoleSettingsResult result = Read({});
    EXPECT_FALSE(result.settings);
    // Hexadecimal is an integer to the settings file; the window's geometry
    // plays no part in a console run.
    ASSERT_EQ(result.errors.size(), 3u) << ::testing::PrintToString(result.errors);
    EXPECT_NE(result.errors[0].find("CommandWait"), std::string::npos);
    EXPECT_NE(result.errors[0].find("1O0"), std::string::npos);
    EXPECT_NE(result.errors[1].find("StartWait"), std::string::npos);
    EXPECT_NE(result.errors[2].find("ISaveBak"), std::string::npos);
}

TEST_F(ConsoleSettingsTest, EachWaitIsTakenAtItsBoundsAndRefusedOnePastWithItsRange) {
    struct Bound {
        const char* key;
        long long low;
        long long high;
    };
    for (const Bound& b : {Bound{"CommandWait", 0, 60000}, Bound{"StartWait", 0, 3600},
                           Bound{"WaitLimit", 1, 86400}, Bound{"SingleDocument", 0, 1}}) {
        SCOPED_TRACE(b.key);
        for (long long value : {b.low, b.high}) {
            WriteIni(std::string(b.key) + "=" + std::to_string(value) + "\r\n");
            EXPECT_TRUE(Read({}).settings) << value;
        }
        const std::string range = std::to_string(b.low) + " から " + std::to_string(b.high);
        for (long long value : {b.low - 1, b.high + 1, 2147483647LL}) {
            WriteIni(std::string(b.key) + "=" + std::to_string(value) + "\r\n");
            const ConsoleSettingsResult result = Read({});
            EXPECT_FALSE(result.settings) << value;
            ASSERT_EQ(result.errors.size(), 1u) << value;
            EXPECT_NE(result.errors[0].find(b.key), std::string::npos);
            EXPECT_NE(result.errors[0].find(range), std::string::npos) << result.errors[0];
            EXPECT_NE(result.errors[0].find(std::to_string(value)), std::string::npos);
        }
    }
    WriteIni("CommandWait=2147483647\r\n");
    EXPECT_EQ(Read({}).errors,
              std::vector<std::string>{
                  "設定 CommandWait (コマンド間、ミリ秒) は 0 から 60000 までにしてください: 2147483647"});
    // The end values are typed into AutoCAD as they are stored.
    WriteIni("FileDia=2147483647\r\nISaveBak=-2147483648\r\nProxyNotice=-1\r\n");
    EXPECT_EQ(Settings().FileDia, 2147483647);
}

TEST_F(ConsoleSettingsTest, RestartBoundsAreTakenWithinTheirRangesOnly) {
    WriteIni("RestartLimit=100\r\nRestartEvery=100000\r\n");
    const ConsoleSettingsResult edge = Read({});
    ASSERT_TRUE(edge.settings);
    EXPECT_EQ(RunSettings(edge.settings->settings).RestartLimit, 100);
    EXPECT_EQ(RunSettings(edge.settings->settings).RestartEvery, 100000);
    WriteIni("");
    ASSERT_TRUE(Read({}).settings);
    EXPECT_EQ(Read({}).settings->settings.RestartLimit, 3);
    EXPECT_EQ(Read({}).settings->settings.RestartEvery, 0);
    WriteIni("RestartLimit=101\r\nRestartEvery=-1\r\n");
    const ConsoleSettingsResult outside = Read({});
    EXPECT_FALSE(outside.settings);
    ASSERT_EQ(outside.errors.size(), 2u);
    EXPECT_NE(outside.errors[0].find("RestartLimit"), std::string::npos);
    EXPECT_NE(outside.errors[0].find("0 から 100 "), std::string::npos);
    EXPECT_NE(outside.errors[1].find("RestartEvery"), std::string::npos);
    WriteIni("RestartEvery=many\r\n");
    EXPECT_NE(Read({}).errors.at(0).find("RestartEvery"), std::string::npos);
}

TEST_F(ConsoleSettingsTest, SlashJOverridesTheSessionCountOfTheFile) {
    WriteIni("AcadPath=C:\\Acad\\acad.exe\r\nAcadCount=3\r\n");
    EXPECT_EQ(Settings().AcadCount, 3);
    EXPECT_EQ(Settings({"/j", "8"}).AcadCount, 8);
    EXPECT_EQ(Settings({"/j", "1"}).AcadCount, 1);
    EXPECT_FALSE(Read({"/j", "9"}).settings);
    // One AutoCAD needs no program: the association starts it.
    WriteIni("AcadCount=2\r\n");
    EXPECT_FALSE(Read({}).settings);
    EXPECT_EQ(Settings({"/j", "1"}).AcadCount, 1);
}

TEST_F(ConsoleSettingsTest, AMissingFileOrAFolderInItsPlaceIsRefused) {
    EXPECT_NE(Read({}).errors.at(0).find(DefaultIni), std::string::npos);
    files.AddFolder("E:\\ini");
    const ConsoleSettingsResult folder = Read({"/ini", "E:\\ini"});
    EXPECT_FALSE(folder.settings);
    EXPECT_NE(folder.errors.at(0).find("E:\\ini"), std::string::npos);
}

TEST_F(ConsoleSettingsTest, AnOutputFolderMustExistOrHaveBeenChosen) {
    WriteIni("SaveSameDir=1\r\n");
    EXPECT_FALSE(Read({"/o", "E:\\none"}).settings);
    // Results for the output folder, but it is still the program's folder
    // (or a folder that has gone): nobody chose one.
    WriteIni("SaveSameDir=0\r\nSaveDir=C:\\Tovimo\\\r\n");
    EXPECT_FALSE(Read({}).settings);
    WriteIni("SaveSameDir=0\r\nSaveDir=E:\\gone\r\n");
    EXPECT_FALSE(Read({}).settings);
    EXPECT_TRUE(Read({"/o", "E:\\out"}).settings);
}

TEST(ConsoleMacroWriteBack, AMacroWithWriteBackOffLeavesTheSettingsFileAlone) {
    VirtualClock clock;
    MemoryFiles files;
    FakeWindowSystem windows{clock, files};
    FakeMessagePump pump;
    FakeProcessLauncher launcher{&clock};
    MemoryProfileFile profile;
    struct : UserMessages {
        int shown = 0;
        void ShowMessage(const std::string&, const std::string&) override { ++shown; }
    } messages;
    const std::string text = "[dwgtodxf]\r\nMACRO_LINES=2\r\nMACRO0=open\r\nMACRO1=#FILE\r\n";
    profile.SetText(DefaultIni, text);
    profile.SetWritable(DefaultIni, false);
    Cp932TextEncoding encoding;
    const AcadPlatform platform{windows, clock, pump, launcher, encoding};
    {
        AcadMacro macro(platform, profile, messages, DefaultIni, "dwgtodxf");
        EXPECT_TRUE(macro.WritesBack());
        macro.SetWriteBack(false);
        EXPECT_EQ(macro.MacroLines, (std::vector<std::string>{"open", "#FILE"}));
        macro.MacroLines.push_back("qsave");
    }
    EXPECT_TRUE(profile.Writes().empty());
    EXPECT_EQ(messages.shown, 0);  // not even the unwritable file is mentioned
    EXPECT_EQ(profile.Text(DefaultIni), text);

    // Left on, the same object writes its lines back.
    profile.SetWritable(DefaultIni, true);
    { AcadMacro macro(platform, profile, messages, DefaultIni, "dwgtodxf"); }
    EXPECT_FALSE(profile.Writes().empty());
}

}  // namespace
}  // namespace tovimo::testing
