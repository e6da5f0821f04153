#include "program_guard.h"

#include "platform/win32_api.h"

#include <tlhelp32.h>

namespace tovimo::wine_tests {
namespace {

struct ProcessEntry {
    DWORD id;
    DWORD parentId;
    std::string name;
};

std::vector<ProcessEntry> RunningProcesses() {
    std::vector<ProcessEntry> processes;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return processes;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more;
         more = ::Process32Next(snapshot, &entry))
        processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    ::CloseHandle(snapshot);
    return processes;
}

bool SameName(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool EndProcess(DWORD id) {
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) return false;
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
    return true;
}

}  // namespace

std::vector<std::string> ProgramGuard::OurPrograms() {
    return {"standin-acad.exe", "Pelkadu.exe", "wine-probe.exe", "tovimo-demo.exe",
            "wine-hung-window.exe"};
}

ProgramGuard::ProgramGuard(std::vector<std::string> programs) : programs_(std::move(programs)) {}

ProgramGuard::~ProgramGuard() {
    EndAll();
}

void ProgramGuard::EndAll() {
    for (const std::string& program : programs_) EndProcesses(program);
    const DWORD self = ::GetCurrentProcessId();
    for (const ProcessEntry& process : RunningProcesses())
        if (process.parentId == self && SameName(process.name, "cmd.exe")) EndProcess(process.id);
}

int CountRunning(const std::string& program) {
    int count = 0;
    for (const ProcessEntry& process : RunningProcesses())
        if (SameName(process.name, program)) ++count;
    return count;
}

int EndProcesses(const std::string& program) {
    int ended = 0;
    for (const ProcessEntry& process : RunningProcesses())
        if (SameName(process.name, program) && EndProcess(process.id)) ++ended;
    return ended;
}

}  // namespace tovimo::wine_tests
