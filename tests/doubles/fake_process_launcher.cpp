#include "fake_process_launcher.h"

#include "standin_options.h"
#include "standin_text_compare.h"

namespace tovimo::testing {

void FakeProcessLauncher::Record(LaunchKind kind, const std::string& argument) {
    calls_.push_back({kind, argument, clock_ ? clock_->NowMs() : 0});
}

std::vector<std::string> FakeProcessLauncher::EnvironmentArguments() const {
    return standin::SplitArguments(environmentOptions_);
}

void FakeProcessLauncher::InstallStandin(FakeWindowSystem& windows, const std::string& programPath) {
    standinWindows_ = &windows;
    standinProgram_ = programPath;
}

void FakeProcessLauncher::AssociateDrawings(FakeWindowSystem& windows, MemoryFiles* files) {
    associationWindows_ = &windows;
    associationFiles_ = files;
}

bool FakeProcessLauncher::CreateProcess(const std::string& commandLine, std::uint32_t* processId) {
    Record(LaunchKind::CreateProcess, commandLine);
    if (onCreateProcess) return onCreateProcess(commandLine);
    if (!standinWindows_) return createProcessResult_;

    // The program stands first, in quotes or bare.
    std::string_view line = commandLine;
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    std::vector<std::string> arguments;
    const std::string quoted = "\"" + standinProgram_ + "\"";
    auto startsWith = [&line](const std::string& prefix) {
        return line.size() >= prefix.size() &&
               standin::SameTextIgnoringCase(line.substr(0, prefix.size()), prefix) &&
               (line.size() == prefix.size() || line[prefix.size()] == ' ' || line[prefix.size()] == '\t');
    };
    if (startsWith(quoted)) {
        arguments = standin::SplitArguments(line.substr(quoted.size()));
    } else if (startsWith(standinProgram_)) {
        arguments = standin::SplitArguments(line.substr(standinProgram_.size()));
    } else {
        return false;
    }
    if (!createProcessResult_) return false;
    std::vector<std::string> options = EnvironmentArguments();
    options.insert(options.end(), arguments.begin(), arguments.end());
    FakeStandin& standin = standinWindows_->StartStandin(options);
    if (processId != nullptr) *processId = standin.ProcessId();
    return true;
}

bool FakeProcessLauncher::ShellOpen(const std::string& filePath) {
    Record(LaunchKind::ShellOpen, filePath);
    if (onShellOpen) return onShellOpen(filePath);
    if (!shellOpenResult_) return false;
    if (!associationWindows_) return true;
    if (associationFiles_ && !associationFiles_->FileExists(filePath)) return false;
    if (!standin::EndsWithIgnoringCase(filePath, ".dwg")) return false;  // no association
    std::vector<std::string> options = EnvironmentArguments();
    options.push_back(filePath);
    associationWindows_->StartStandin(options);
    return true;
}

void FakeProcessLauncher::WinExecHidden(const std::string& commandLine) {
    Record(LaunchKind::WinExecHidden, commandLine);
    if (onWinExecHidden) onWinExecHidden(commandLine);
}

FakeStandin* FakeProcessLauncher::StandinByProcessId(std::uint32_t processId) const {
    for (FakeWindowSystem* windows : {standinWindows_, associationWindows_})
        if (windows)
            if (FakeStandin* standin = windows->StandinByProcessId(processId)) return standin;
    return nullptr;
}

bool FakeProcessLauncher::EndProcess(std::uint32_t processId) {
    endedProcesses_.push_back(processId);
    if (onEndProcess) return onEndProcess(processId);
    FakeStandin* standin = StandinByProcessId(processId);
    if (!standin || standin->Ended()) return false;
    standin->Terminate();
    return true;
}

bool FakeProcessLauncher::WaitForProcessEnd(std::uint32_t processId, int timeoutMs) {
    FakeStandin* standin = StandinByProcessId(processId);
    if (!standin) return true;
    for (int waited = 0; !standin->Ended() && waited < timeoutMs && clock_; waited += 10)
        clock_->Sleep(10);
    return standin->Ended();
}

std::vector<std::string> FakeProcessLauncher::CallsOf(LaunchKind kind) const {
    std::vector<std::string> arguments;
    for (const auto& call : calls_)
        if (call.kind == kind) arguments.push_back(call.argument);
    return arguments;
}

}  // namespace tovimo::testing
