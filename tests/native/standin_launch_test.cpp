// The fake process launcher: what it records, what it answers, and how it
// starts stand-ins from a program path or through the ".dwg" association.
#include <gtest/gtest.h>

#include "fake_process_launcher.h"
#include "standin_fixture.h"

namespace tovimo::testing {
namespace {

class StandinLaunchTest : public StandinTest {
protected:
    FakeProcessLauncher processes{&clock};
};

TEST_F(StandinLaunchTest, CallsAreRecordedWithTheirTimes) {
    clock.Sleep(120);
    EXPECT_TRUE(processes.CreateProcess("C:\\x.exe /a"));
    processes.WinExecHidden("CMD.EXE /c C:\\Tovimo\\Pelkadu");
    clock.Sleep(5);
    EXPECT_TRUE(processes.ShellOpen("C:\\Tovimo\\Drawing1.dwg"));
    ASSERT_EQ(processes.Calls().size(), 3u);
    EXPECT_EQ(processes.Calls()[0].kind, LaunchKind::CreateProcess);
    EXPECT_EQ(processes.Calls()[1].timeMs, 120);
    EXPECT_EQ(processes.Calls()[2].timeMs, 125);
    EXPECT_EQ(processes.CallsOf(LaunchKind::WinExecHidden), (std::vector<std::string>{"CMD.EXE /c C:\\Tovimo\\Pelkadu"}));
    EXPECT_TRUE(windows.Standins().empty());  // nothing installed, nothing started
}

TEST_F(StandinLaunchTest, ResultsPlatformAndFolderAreConfigurable) {
    EXPECT_EQ(processes.PlatformId(), std::optional<std::uint32_t>(2));
    processes.SetPlatformId(1);
    EXPECT_EQ(processes.PlatformId(), std::optional<std::uint32_t>(1));
    processes.SetPlatformId(std::nullopt);
    EXPECT_FALSE(processes.PlatformId().has_value());
    processes.SetProgramFolder("D:\\ツール\\");
    EXPECT_EQ(processes.ProgramFolder(), "D:\\ツール\\");
    processes.SetCreateProcessResult(false);
    processes.SetShellOpenResult(false);
    EXPECT_FALSE(processes.CreateProcess("C:\\x.exe"));
    EXPECT_FALSE(processes.ShellOpen("C:\\a.dwg"));
}

TEST_F(StandinLaunchTest, InstalledProgramStartsAStandinWithTheArgumentsAfterItsPath) {
    processes.InstallStandin(windows, "C:\\Program Files\\Acad\\acad.exe");
    processes.SetEnvironmentOptions("/full /cmddelay:20");
    ASSERT_TRUE(processes.CreateProcess("C:\\program files\\acad\\acad.exe /lt /fullwidth"));
    FakeStandin* acad = windows.LatestStandin();
    ASSERT_NE(acad, nullptr);
    EXPECT_EQ(acad->Model().Options().product, standin::Product::Lt);  // the command line wins
    EXPECT_EQ(acad->Model().Options().commandDelayMs, 20);
    EXPECT_EQ(windows.TextOf(acad->MainWindow()), "AutoCAD LT 2000 - [Drawing1.dwg]");

    ASSERT_TRUE(processes.CreateProcess("\"C:\\Program Files\\Acad\\acad.exe\""));
    EXPECT_EQ(windows.Standins().size(), 2u);
    // Another program is not there.
    EXPECT_FALSE(processes.CreateProcess("C:\\Program Files\\Acad\\acadlt.exe /lt"));
    EXPECT_FALSE(processes.CreateProcess("C:\\Program"));
    EXPECT_EQ(windows.Standins().size(), 2u);
}

TEST_F(StandinLaunchTest, DrawingAssociationStartsAStandinOnTheDrawing) {
    processes.AssociateDrawings(windows, &files);
    processes.SetEnvironmentOptions("/startup /log:C:\\log.txt");
    EXPECT_FALSE(processes.ShellOpen("C:\\Tovimo\\Drawing1.dwg"));  // no such file
    AddDrawing("C:\\Tovimo\\Drawing1.dwg");
    files.AddFile("C:\\Tovimo\\readme.txt");
    EXPECT_FALSE(processes.ShellOpen("C:\\Tovimo\\readme.txt"));
    EXPECT_TRUE(windows.Standins().empty());

    ASSERT_TRUE(processes.ShellOpen("C:\\Tovimo\\Drawing1.dwg"));
    FakeStandin* acad = windows.LatestStandin();
    ASSERT_NE(acad, nullptr);
    EXPECT_EQ(acad->Model().DrawingPath(), "C:\\Tovimo\\Drawing1.dwg");
    EXPECT_TRUE(acad->Model().Options().startupDialog);
    EXPECT_NE(acad->DialogWindow(), 0u);
}

TEST_F(StandinLaunchTest, HooksDecideInstead) {
    processes.InstallStandin(windows, "C:\\acad.exe");
    std::vector<std::string> seen;
    processes.onCreateProcess = [&seen](const std::string& line) {
        seen.push_back(line);
        return false;
    };
    EXPECT_FALSE(processes.CreateProcess("C:\\acad.exe"));
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\acad.exe"}));
    EXPECT_TRUE(windows.Standins().empty());
}

}  // namespace
}  // namespace tovimo::testing
