#include "settings/settings.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "memory_files.h"
#include "memory_profile_file.h"

namespace tovimo {
namespace {

using testing::MemoryFiles;
using testing::MemoryFileSystem;
using testing::MemoryProfileFile;

const std::string Program = "C:\\Tovimo\\";

class SettingsTest : public ::testing::Test {
protected:
    MainFormSettings Read() {
        return ReadMainFormSettings(profile, fs, SettingsFilePath(Program), Program);
    }
    void Write(const std::string& text) { profile.SetText(SettingsFilePath(Program), text); }

    MemoryProfileFile profile;
    MemoryFiles files;
    MemoryFileSystem fs{files};
};

TEST_F(SettingsTest, WithoutASettingsFileEverySettingHasItsDefault) {
    EXPECT_EQ(SettingsFilePath(Program), "C:\\Tovimo\\tovimo.ini");
    const MainFormSettings s = Read();
    EXPECT_EQ(s.Top, 113);
    EXPECT_EQ(s.Left, 203);
    EXPECT_EQ(s.Width, 274);
    EXPECT_EQ(s.Height, 742);
    EXPECT_EQ(s.AcadPath, "");
    EXPECT_EQ(s.CommandWait, 100);
    EXPECT_EQ(s.StartWait, 15);
    EXPECT_EQ(s.FileDia, 1);
    EXPECT_EQ(s.ISaveBak, 1);
    EXPECT_EQ(s.ProxyNotice, 1);
    EXPECT_EQ(s.SaveDir, Program);
    EXPECT_TRUE(s.Rewite);
    EXPECT_TRUE(s.AcadClose);
    EXPECT_FALSE(s.SaveTmpdwg);
    EXPECT_TRUE(s.SaveSameDir);
    EXPECT_FALSE(s.SettingVisble);
    EXPECT_FALSE(s.GetChildFolder);
    EXPECT_TRUE(s.SaveChildDir);
    EXPECT_FALSE(s.DYNCancel);
    EXPECT_EQ(s.AcadArg, "");
    EXPECT_EQ(s.WaitLimit, DefaultWaitLimitSeconds);
    EXPECT_EQ(s.AcadCount, 1);
    EXPECT_EQ(s.SingleDocument, 1);
    EXPECT_EQ(RunSettings(s).SingleDocument, 1);
}

TEST_F(SettingsTest, EveryKeyIsReadIntoItsOwnSettingAndReachesTheRun) {
    files.AddFolder("E:\\出力表");
    Write("[dwgtodxf]\nTop=1\n"
          "[MainForm]\nTop=11\nLeft=12\nWidth=13\nHeight=14\n"
          "AcadPath=C:\\CAD\\acad.exe\nCommandWait=250\nStartWait=40\n"
          "FileDia=2\nISaveBak=3\nProxyNotice=4\nSaveDir=E:\\出力表\n"
          "Rewite=0\nAcadClose=0\nSaveTmpdwg=1\nSaveSameDir=0\nSettingVisble=1\n"
          "GetChildFolder=1\nSaveChildDir=0\nDYNCancel=1\nAcadArg=/p \"ソフト\"\nWaitLimit=77\nAcadCount=5\n"
          "SingleDocument=0\n");
    const MainFormSettings s = Read();
    EXPECT_EQ(s.Top, 11);
    EXPECT_EQ(s.Left, 12);
    EXPECT_EQ(s.Width, 13);
    EXPECT_EQ(s.Height, 14);
    EXPECT_EQ(s.AcadPath, "C:\\CAD\\acad.exe");
    EXPECT_TRUE(s.SettingVisble);
    EXPECT_TRUE(s.GetChildFolder);

    const ConvertSettings run = RunSettings(s);
    EXPECT_EQ(run.CommandWait, 250);
    EXPECT_EQ(run.StartWait, 40);
    EXPECT_FALSE(run.AcadClose);
    EXPECT_FALSE(run.Rewite);
    EXPECT_EQ(run.FileDia, 2);
    EXPECT_EQ(run.ISaveBak, 3);
    EXPECT_EQ(run.ProxyNotice, 4);
    EXPECT_TRUE(run.SaveTmpdwg);
    EXPECT_FALSE(run.SaveSameDir);
    EXPECT_EQ(run.SaveDir, "E:\\出力表");
    EXPECT_FALSE(run.SaveChildDir);
    EXPECT_EQ(run.AcadArg, "/p \"ソフト\"");
    EXPECT_TRUE(run.DYNCancel);
    EXPECT_EQ(run.WaitLimit, 77);
    EXPECT_EQ(run.AcadCount, 5);
    EXPECT_EQ(run.SingleDocument, 0);

    const TargetRules rules = RunTargetRules(s);
    EXPECT_FALSE(rules.SaveSameDir);
    EXPECT_EQ(rules.SaveDir, "E:\\出力表");
    EXPECT_FALSE(rules.SaveChildDir);
}

TEST_F(SettingsTest, UnreadableValuesFallBackAsTheFileRulesSay) {
    Write("[MainForm]\nCommandWait=fast\nStartWait=\nFileDia=-1\nRewite=2\nAcadClose=yes\n"
          "SaveTmpdwg=1\nSaveDir=Z:\\gone\n");
    const MainFormSettings s = Read();
    EXPECT_EQ(s.CommandWait, 100);
    EXPECT_EQ(s.StartWait, 15);
    EXPECT_EQ(s.FileDia, -1);
    // On only for the value 1: anything else is off, even where on is the default.
    EXPECT_FALSE(s.Rewite);
    EXPECT_FALSE(s.AcadClose);
    EXPECT_TRUE(s.SaveTmpdwg);
    // An output folder that no longer exists counts as none chosen.
    EXPECT_EQ(s.SaveDir, Program);
}

}  // namespace
}  // namespace tovimo
