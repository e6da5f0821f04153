#include "platform/win32_process_launcher.h"

#include <memory>
#include <vector>

#include "platform/com_apartment.h"
#include "text/cp932_text.h"

namespace tovimo::win32 {

namespace {

// A process through the handle that came with it, or that was opened once.
class Win32OwnedProcess : public OwnedProcess {
public:
    Win32OwnedProcess(HANDLE process, std::uint32_t id) : process_(process), id_(id) {}
    ~Win32OwnedProcess() override { ::CloseHandle(process_); }
    Win32OwnedProcess(const Win32OwnedProcess&) = delete;
    Win32OwnedProcess& operator=(const Win32OwnedProcess&) = delete;

    std::uint32_t Id() const override { return id_; }
    bool End() override { return ::TerminateProcess(process_, 1) != FALSE; }
    bool WaitForEnd(int timeoutMs) override {
        const DWORD wait =
            ::WaitForSingleObject(process_, timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs));
        return wait == WAIT_OBJECT_0;
    }

private:
    HANDLE process_;
    std::uint32_t id_;
};

std::unique_ptr<OwnedProcess> Owned(HANDLE process) {
    if (!process) return nullptr;
    return std::make_unique<Win32OwnedProcess>(process, ::GetProcessId(process));
}

}  // namespace

HANDLE Win32ProcessLauncher::Start(const std::string& commandLine, std::uint32_t creationFlags,
                                   bool hidden) {
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (hidden) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags, nullptr,
                          nullptr, &startup, &process))
        return nullptr;
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

StartedProcess Win32ProcessLauncher::CreateProcess(const std::string& commandLine,
                                                   std::uint32_t creationFlags) {
    HANDLE process = Start(commandLine, creationFlags, false);
    if (!process) return {};
    return {true, Owned(process)};
}

StartedProcess Win32ProcessLauncher::ShellOpen(const std::string& filePath) {
    // Without COM on the thread, an association that answers through DDE
    // (as AutoCAD's does) may fail. A thread in another apartment already
    // has COM, so the open is tried all the same.
    EnsureComApartment();
    SHELLEXECUTEINFOA request{};
    // The size of the record as this build lays it out: 60 bytes in a 32-bit
    // program, 112 in a 64-bit one. Any other size makes the call fail.
    request.cbSize = sizeof request;
    // NOASYNC: the open is over when the call returns, also when it goes
    // through DDE; the window program's run thread may end right after.
    // No message box of the shell: an unattended run would wait on it for
    // ever. A failure is reported as AutoCAD not started. Without
    // SEE_MASK_NO_CONSOLE a console program started so gets a console of
    // its own, and none of our console's events.
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner_;
    request.lpVerb = "open";
    request.lpFile = filePath.c_str();
    request.lpParameters = "";
    request.lpDirectory = "";
    request.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&request)) return {};
    // No handle when the file went to a program that runs already (DDE).
    return {true, Owned(request.hProcess)};
}

void Win32ProcessLauncher::StartHidden(const std::string& commandLine, std::uint32_t creationFlags) {
    if (HANDLE process = Start(commandLine, creationFlags, true)) ::CloseHandle(process);
}

std::unique_ptr<OwnedProcess> Win32ProcessLauncher::OpenProcess(std::uint32_t processId) {
    if (processId == 0) return nullptr;
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return nullptr;
    return std::make_unique<Win32OwnedProcess>(process, processId);
}

std::optional<std::uint32_t> Win32ProcessLauncher::PlatformId() {
    static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA expects a 148-byte record");
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = 148;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // deprecated, but it is the call that tells the platform
#endif
    if (!::GetVersionExA(&version)) return std::nullopt;
    return version.dwPlatformId;
}

std::string Win32ProcessLauncher::ProgramFolder() {
    // Paths may be longer than MAX_PATH; grow the buffer until the name fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return FolderOfPath(std::string(buffer.data(), length));
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string Win32ProcessLauncher::SystemFolder() {
    char buffer[MAX_PATH + 1];
    const UINT length = ::GetSystemDirectoryA(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return std::string();
    std::string folder(buffer, length);
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

std::string FolderOfPath(const std::string& path) {
    std::size_t end = 0;  // bytes up to and including the last separator found
    for (;;) {
        const int found = FindText(std::string_view(path).substr(end), "\\");
        if (found == 0) break;
        end += static_cast<std::size_t>(found);
    }
    return path.substr(0, end);
}

}  // namespace tovimo::win32
