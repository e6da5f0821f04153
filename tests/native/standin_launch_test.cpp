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
    EXPECT_TRUE(processes.CreateProcess("C:\\x.exe /a", CreateNoWindow));
    processes.StartHidden("CMD.EXE /c C:\\Tovimo\\Pelkadu", DetachedFromConsole);
    clock.Sleep(5);
    EXPECT_TRUE(processes.ShellOpen("C:\\Tovimo\\Drawing1.dwg"));
    ASSERT_EQ(processes.Calls().size(), 3u);
    EXPECT_EQ(processes.Calls()[0].kind, LaunchKind::CreateProcess);
    EXPECT_EQ(processes.Calls()[1].timeMs, 120);
    EXPECT_EQ(processes.Calls()[2].timeMs, 125);
    EXPECT_EQ(processes.Calls()[0].creationFlags, CreateNoWindow);
    EXPECT_EQ(processes.Calls()[1].creationFlags, DetachedFromConsole);
    EXPECT_EQ(processes.CallsOf(LaunchKind::StartHidden), (std::vector<std::string>{"CMD.EXE /c C:\\Tovimo\\Pelkadu"}));
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
    EXPECT_FALSE(processes.CreateProcess("C:\\x.exe", 0));
    EXPECT_FALSE(processes.ShellOpen("C:\\a.dwg"));
}

TEST_F(StandinLaunchTest, InstalledProgramStartsAStandinWithTheArgumentsAfterItsPath) {
    processes.InstallStandin(windows, "C:\\Program Files\\Acad\\acad.exe");
    processes.SetEnvironmentOptions("/full /cmddelay:20");
    const StartedProcess started =
        processes.CreateProcess("C:\\program files\\acad\\acad.exe /lt /fullwidth", 0);
    ASSERT_TRUE(started);
    FakeStandin* acad = windows.LatestStandin();
    ASSERT_NE(acad, nullptr);
    ASSERT_NE(started.process, nullptr);
    EXPECT_EQ(started.process->Id(), acad->ProcessId());
    EXPECT_EQ(acad->Model().Options().product, standin::Product::Lt);  // the command line wins
    EXPECT_EQ(acad->Model().Options().commandDelayMs, 20);
    EXPECT_EQ(windows.TextOf(acad->MainWindow()), "AutoCAD LT 2000 - [Drawing1.dwg]");

    ASSERT_TRUE(processes.CreateProcess("\"C:\\Program Files\\Acad\\acad.exe\"", 0));
    EXPECT_EQ(windows.Standins().size(), 2u);
    // Waited on and ended through what came with its start.
    EXPECT_FALSE(started.process->WaitForEnd(50));
    EXPECT_TRUE(started.process->End());
    EXPECT_TRUE(started.process->WaitForEnd(0));
    EXPECT_TRUE(acad->Terminated());
    EXPECT_FALSE(started.process->End());
    EXPECT_EQ(processes.EndedProcesses(), (std::vector<std::uint32_t>{acad->ProcessId(), acad->ProcessId()}));
    // A running one is opened by its id; one that has ended is not, and
    // an id given again opens the new process only.
    EXPECT_EQ(processes.OpenProcess(acad->ProcessId()), nullptr);
    FakeStandin* second = windows.LatestStandin();
    ASSERT_NE(processes.OpenProcess(second->ProcessId()), nullptr);
    windows.ReuseProcessId(acad->ProcessId());
    FakeStandin& reused = windows.StartStandin(std::vector<std::string>{});
    const auto opened = processes.OpenProcess(acad->ProcessId());
    ASSERT_NE(opened, nullptr);
    opened->End();
    EXPECT_TRUE(reused.Terminated());
    // Another program is not there.
    EXPECT_FALSE(processes.CreateProcess("C:\\Program Files\\Acad\\acadlt.exe /lt", 0));
    EXPECT_FALSE(processes.CreateProcess("C:\\Program", 0));
    EXPECT_EQ(windows.Standins().size(), 3u);
}

TEST_F(StandinLaunchTest, DrawingAssociationStartsAStandinOnTheDrawing) {
    processes.AssociateDrawings(windows, &files);
    processes.SetEnvironmentOptions("/startup /log:C:\\log.txt");
    EXPECT_FALSE(processes.ShellOpen("C:\\Tovimo\\Drawing1.dwg"));  // no such file
    AddDrawing("C:\\Tovimo\\Drawing1.dwg");
    files.AddFile("C:\\Tovimo\\readme.txt");
    EXPECT_FALSE(processes.ShellOpen("C:\\Tovimo\\readme.txt"));
    EXPECT_TRUE(windows.Standins().empty());

    const StartedProcess started = processes.ShellOpen("C:\\Tovimo\\Drawing1.dwg");
    ASSERT_TRUE(started);
    FakeStandin* acad = windows.LatestStandin();
    ASSERT_NE(acad, nullptr);
    ASSERT_NE(started.process, nullptr);
    EXPECT_EQ(started.process->Id(), acad->ProcessId());
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
    EXPECT_FALSE(processes.CreateProcess("C:\\acad.exe", 0));
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\acad.exe"}));
    EXPECT_TRUE(windows.Standins().empty());
}

}  // namespace
}  // namespace tovimo::testing
