#pragma once
#include "platform/win32_api.h"

#include "platform/process_launcher.h"

namespace tovimo::win32 {

// Starting programs with kernel32 and shell32, and the facts of the running
// executable that this needs.
class Win32ProcessLauncher : public ProcessLauncher {
public:
    // The window that owns error messages of the shell while it opens a file.
    void SetOwnerWindow(HWND owner) { owner_ = owner; }

    StartedProcess CreateProcess(const std::string& commandLine, std::uint32_t creationFlags) override;
    StartedProcess ShellOpen(const std::string& filePath) override;
    void StartHidden(const std::string& commandLine, std::uint32_t creationFlags) override;
    std::unique_ptr<OwnedProcess> OpenProcess(std::uint32_t processId) override;
    std::optional<std::uint32_t> PlatformId() override;
    std::string ProgramFolder() override;
    std::string SystemFolder() override;

private:
    // CreateProcessA; the process's handle, or nullptr when it failed.
    HANDLE Start(const std::string& commandLine, std::uint32_t creationFlags, bool hidden);

    HWND owner_ = nullptr;
};

// The folder part of a path: everything up to and including its last "\",
// which is never the trail byte of a double-byte character. Empty when the
// path holds no "\".
std::string FolderOfPath(const std::string& path);

}  // namespace tovimo::win32
