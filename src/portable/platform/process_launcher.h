#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tovimo {

// Starting other programs, and the facts about the running program needed for it.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // CreateProcessA with no application name and this command line; false
    // when it fails. processId, when given, receives the new process's id.
    virtual bool CreateProcess(const std::string& commandLine,
                               std::uint32_t* processId = nullptr) = 0;
    // ShellExecuteExA "open" on a file, so that its file association starts
    // a program. The shell shows no message of its own: a missing file or
    // association is only a false here, which nobody may have to answer.
    virtual bool ShellOpen(const std::string& filePath) = 0;
    // WinExec with SW_HIDE; its result is of no interest.
    virtual void WinExecHidden(const std::string& commandLine) = 0;
    // GetVersionExA's dwPlatformId; empty when the query fails.
    virtual std::optional<std::uint32_t> PlatformId() = 0;
    // Folder of the running executable, with its trailing "\".
    virtual std::string ProgramFolder() = 0;
    // The system folder (GetSystemDirectoryA), with its trailing "\"; empty
    // when it cannot be had.
    virtual std::string SystemFolder() = 0;
    // TerminateProcess on the process with this id; false when there is no
    // such process or it may not be ended.
    virtual bool EndProcess(std::uint32_t processId) = 0;
    // WaitForSingleObject on the process with this id, at most timeoutMs:
    // true once it has ended (also when there is no such process).
    virtual bool WaitForProcessEnd(std::uint32_t processId, int timeoutMs) = 0;
};

}  // namespace tovimo
