#pragma once
// ProcessLauncher for the tests: records every start, gives configured
// results, and can start stand-in AutoCADs in a FakeWindowSystem, either from
// a program path given to CreateProcess or through the ".dwg" association
// that ShellOpen uses.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fake_window_system.h"
#include "memory_files.h"
#include "platform/clock.h"
#include "platform/process_launcher.h"

namespace tovimo::testing {

enum class LaunchKind { CreateProcess, ShellOpen, StartHidden };

struct LaunchCall {
    LaunchKind kind = LaunchKind::CreateProcess;
    std::string argument;  // the command line or the file path
    std::int64_t timeMs = 0;  // the clock's time; 0 without a clock
    std::uint32_t creationFlags = 0;  // CreateProcess and StartHidden
};

class FakeProcessLauncher : public ProcessLauncher {
public:
    explicit FakeProcessLauncher(Clock* clock = nullptr) : clock_(clock) {}

    // ---- ProcessLauncher --------------------------------------------------------
    // A stand-in started comes with its process; a start that a hook
    // decided comes with none.
    StartedProcess CreateProcess(const std::string& commandLine, std::uint32_t creationFlags) override;
    StartedProcess ShellOpen(const std::string& filePath) override;
    void StartHidden(const std::string& commandLine, std::uint32_t creationFlags) override;
    // A stand-in that runs, unless onOpenProcess says otherwise.
    std::unique_ptr<OwnedProcess> OpenProcess(std::uint32_t processId) override;
    std::optional<std::uint32_t> PlatformId() override { return platformId_; }
    std::string ProgramFolder() override { return programFolder_; }
    std::string SystemFolder() override { return systemFolder_; }

    // ---- set-up --------------------------------------------------------------------
    void SetPlatformId(std::optional<std::uint32_t> id) { platformId_ = id; }  // empty: the query fails
    void SetProgramFolder(const std::string& folder) { programFolder_ = folder; }
    void SetSystemFolder(const std::string& folder) { systemFolder_ = folder; }  // empty: unknown
    // Results when nothing more specific decides (both true at first).
    void SetCreateProcessResult(bool result) { createProcessResult_ = result; }
    void SetShellOpenResult(bool result) { shellOpenResult_ = result; }

    // CreateProcess of a command line that starts with programPath (letter
    // case aside; quoted or not) starts a stand-in whose options are the
    // environment options followed by the arguments after the path. Any
    // other command line then fails, as for a program that is not there.
    void InstallStandin(FakeWindowSystem& windows, const std::string& programPath);
    // ShellOpen of a file ending in ".dwg" starts a stand-in with the
    // environment options and the file as its drawing. ShellOpen fails for
    // a file that does not exist in files, when files are given.
    void AssociateDrawings(FakeWindowSystem& windows, MemoryFiles* files = nullptr);
    // The value of STANDIN_ACAD_OPTIONS that started stand-ins see.
    void SetEnvironmentOptions(const std::string& options) { environmentOptions_ = options; }

    // Hooks that decide instead, when set; their result is the call's result.
    std::function<bool(const std::string& commandLine)> onCreateProcess;
    std::function<bool(const std::string& filePath)> onShellOpen;
    std::function<void(const std::string& commandLine)> onStartHidden;
    // Decides whether an owned process's End succeeds, and then does
    // nothing more: the process ends only if the hook ends it.
    std::function<bool(std::uint32_t processId)> onEndProcess;
    std::function<bool(std::uint32_t processId)> onOpenProcess;

    // ---- looking ---------------------------------------------------------------------
    const std::vector<LaunchCall>& Calls() const { return calls_; }
    // The ids of the processes ended through their handles, in order.
    const std::vector<std::uint32_t>& EndedProcesses() const { return endedProcesses_; }
    // The ids given to OpenProcess, in order.
    const std::vector<std::uint32_t>& OpenedProcesses() const { return openedProcesses_; }
    std::vector<std::string> CallsOf(LaunchKind kind) const;

private:
    class Process;
    void Record(LaunchKind kind, const std::string& argument, std::uint32_t creationFlags = 0);
    FakeStandin* StandinByProcessId(std::uint32_t processId) const;
    std::unique_ptr<OwnedProcess> Owned(FakeStandin& standin);
    std::vector<std::string> EnvironmentArguments() const;

    Clock* clock_;
    std::vector<LaunchCall> calls_;
    std::vector<std::uint32_t> endedProcesses_;
    std::vector<std::uint32_t> openedProcesses_;
    std::optional<std::uint32_t> platformId_ = 2;  // VER_PLATFORM_WIN32_NT
    std::string programFolder_ = "C:\\Tovimo\\";
    std::string systemFolder_ = "C:\\Windows\\system32\\";
    bool createProcessResult_ = true;
    bool shellOpenResult_ = true;
    FakeWindowSystem* standinWindows_ = nullptr;
    std::string standinProgram_;
    FakeWindowSystem* associationWindows_ = nullptr;
    MemoryFiles* associationFiles_ = nullptr;
    std::string environmentOptions_;
};

}  // namespace tovimo::testing
