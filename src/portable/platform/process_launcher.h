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
    // ShellExecuteExA "open" on a file, so that its file association starts a program.
    virtual bool ShellOpen(const std::string& filePath) = 0;
    // WinExec with SW_HIDE; its result is of no interest.
    virtual void WinExecHidden(const std::string& commandLine) = 0;
    // GetVersionExA's dwPlatformId; empty when the query fails.
    virtual std::optional<std::uint32_t> PlatformId() = 0;
    // Folder of the running executable, with its trailing "\".
    virtual std::string ProgramFolder() = 0;
};

}  // namespace tovimo
