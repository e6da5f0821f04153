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

    bool CreateProcess(const std::string& commandLine, std::uint32_t* processId = nullptr) override;
    bool ShellOpen(const std::string& filePath) override;
    void WinExecHidden(const std::string& commandLine) override;
    std::optional<std::uint32_t> PlatformId() override;
    std::string ProgramFolder() override;
    std::string SystemFolder() override;
    bool EndProcess(std::uint32_t processId) override;
    bool WaitForProcessEnd(std::uint32_t processId, int timeoutMs) override;

private:
    HWND owner_ = nullptr;
};

// The folder part of a path: everything up to and including its last "\",
// which is never the trail byte of a double-byte character. Empty when the
// path holds no "\".
std::string FolderOfPath(const std::string& path);

}  // namespace tovimo::win32
