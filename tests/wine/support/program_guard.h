#pragma once
// Makes sure a test leaves no program of ours running, also when it fails:
// when the guard ends it ends every running process of the named programs,
// and the command interpreters that this test process started (Pelkadu is
// started through one).
#include <string>
#include <vector>

namespace tovimo::wine_tests {

class ProgramGuard {
public:
    // The programs that the Wine tests start.
    static std::vector<std::string> OurPrograms();

    explicit ProgramGuard(std::vector<std::string> programs = OurPrograms());
    ~ProgramGuard();
    ProgramGuard(const ProgramGuard&) = delete;
    ProgramGuard& operator=(const ProgramGuard&) = delete;

    // Ends them now and waits until they are gone.
    void EndAll();

private:
    std::vector<std::string> programs_;
};

// How many processes of this program (file name, letter case aside) run.
int CountRunning(const std::string& program);
// Ends every process of this program; gives how many there were.
int EndProcesses(const std::string& program);

}  // namespace tovimo::wine_tests
