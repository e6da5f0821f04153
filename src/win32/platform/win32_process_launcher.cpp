#include "platform/win32_process_launcher.h"

#include <vector>

#include "platform/com_apartment.h"
#include "text/cp932_text.h"

namespace tovimo::win32 {

bool Win32ProcessLauncher::CreateProcess(const std::string& commandLine, std::uint32_t* processId) {
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    if (processId != nullptr) *processId = process.dwProcessId;
    // Nothing watches the started program.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool Win32ProcessLauncher::ShellOpen(const std::string& filePath) {
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
    // ever. A failure is reported as AutoCAD not started.
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    request.hwnd = owner_;
    request.lpVerb = "open";
    request.lpFile = filePath.c_str();
    request.lpParameters = "";
    request.lpDirectory = "";
    request.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&request)) return false;
    if (request.hProcess) ::CloseHandle(request.hProcess);
    return true;
}

void Win32ProcessLauncher::WinExecHidden(const std::string& commandLine) {
    ::WinExec(commandLine.c_str(), SW_HIDE);
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

bool Win32ProcessLauncher::EndProcess(std::uint32_t processId) {
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process) return false;
    const bool ended = ::TerminateProcess(process, 1) != FALSE;
    ::CloseHandle(process);
    return ended;
}

bool Win32ProcessLauncher::WaitForProcessEnd(std::uint32_t processId, int timeoutMs) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    // A process that is gone can no longer be opened.
    if (!process) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    const DWORD wait = ::WaitForSingleObject(process, timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs));
    ::CloseHandle(process);
    return wait == WAIT_OBJECT_0;
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
