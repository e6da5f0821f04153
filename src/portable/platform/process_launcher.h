#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tovimo {

// A process that this program started, or opened once while a window of it
// showed that it ran. It is waited on and ended through the handle held
// since, never by its id: once it has ended, the system may give the id to
// another process. Destroying the object lets go of the handle only.
class OwnedProcess {
public:
    virtual ~OwnedProcess() = default;
    virtual std::uint32_t Id() const = 0;
    // TerminateProcess; false when it may not be ended.
    virtual bool End() = 0;
    // Waits at most timeoutMs; true once it has ended.
    virtual bool WaitForEnd(int timeoutMs) = 0;
};

// Whether a start succeeded, and the process it started when that is known
// (a file association may hand the file to a program that runs already).
struct StartedProcess {
    bool started = false;
    std::unique_ptr<OwnedProcess> process;
    explicit operator bool() const { return started; }
};

// Creation flags of the processes this program starts (CreateProcess's).
// A program started with both gets none of the events of our console
// (Ctrl+C, Ctrl+Break, its closing): a console program gets a console of
// its own, without a window, and a group of its own.
inline constexpr std::uint32_t CreateNewProcessGroup = 0x00000200;  // CREATE_NEW_PROCESS_GROUP
inline constexpr std::uint32_t CreateNoWindow = 0x08000000;         // CREATE_NO_WINDOW
inline constexpr std::uint32_t DetachedFromConsole = CreateNoWindow | CreateNewProcessGroup;

// Starting other programs, and the facts about the running program needed for it.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // CreateProcessA with no application name, this command line and these
    // creation flags.
    virtual StartedProcess CreateProcess(const std::string& commandLine,
                                         std::uint32_t creationFlags) = 0;
    // ShellExecuteExA "open" on a file, so that its file association starts
    // a program. The shell shows no message of its own: a missing file or
    // association is only a failed start, which nobody may have to answer.
    // A program started through the shell gets a console of its own.
    virtual StartedProcess ShellOpen(const std::string& filePath) = 0;
    // CreateProcessA with its window hidden (SW_HIDE) and these creation
    // flags; nobody waits for it.
    virtual void StartHidden(const std::string& commandLine, std::uint32_t creationFlags) = 0;
    // Opens the running process with this id, so that it can be waited on
    // and ended; empty when it cannot be opened.
    virtual std::unique_ptr<OwnedProcess> OpenProcess(std::uint32_t processId) = 0;
    // GetVersionExA's dwPlatformId; empty when the query fails.
    virtual std::optional<std::uint32_t> PlatformId() = 0;
    // Folder of the running executable, with its trailing "\".
    virtual std::string ProgramFolder() = 0;
    // The system folder (GetSystemDirectoryA), with its trailing "\"; empty
    // when it cannot be had.
    virtual std::string SystemFolder() = 0;
};

}  // namespace tovimo
