#pragma once
// A program that a test starts itself and watches: its exit code, and its
// end when the test is over.
#include <optional>
#include <string>

#include "platform/win32_api.h"

namespace tovimo::wine_tests {

class StartedProgram {
public:
    // CreateProcessA with this command line; Started() tells whether it ran.
    explicit StartedProgram(const std::string& commandLine);
    ~StartedProgram();  // ends the program if it still runs
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD ProcessId() const { return processId_; }
    bool Running() const;
    // The exit code once it has ended within timeoutMs; empty otherwise.
    std::optional<DWORD> WaitForExit(int timeoutMs);

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Top-level windows that belong to this process.
int CountTopWindowsOf(DWORD processId);

}  // namespace tovimo::wine_tests
