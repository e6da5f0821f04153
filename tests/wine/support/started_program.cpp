#include "started_program.h"

#include <vector>

#include "wait_until.h"

namespace tovimo::wine_tests {

StartedProgram::StartedProgram(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::CloseHandle(process.hThread);
        process_ = process.hProcess;
        processId_ = process.dwProcessId;
    }
}

StartedProgram::~StartedProgram() {
    if (!process_) return;
    if (Running()) {
        ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, 5000);
    }
    ::CloseHandle(process_);
}

bool StartedProgram::Running() const {
    return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> StartedProgram::WaitForExit(int timeoutMs) {
    if (!process_ || !WaitUntil([this] { return !Running(); }, timeoutMs)) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

namespace {

struct WindowCount {
    DWORD processId;
    int count;
};

BOOL CALLBACK CountIfOwnedBy(HWND window, LPARAM param) {
    auto* counting = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == counting->processId) ++counting->count;
    return TRUE;
}

}  // namespace

int CountTopWindowsOf(DWORD processId) {
    WindowCount counting{processId, 0};
    ::EnumWindows(CountIfOwnedBy, reinterpret_cast<LPARAM>(&counting));
    return counting.count;
}

}  // namespace tovimo::wine_tests
