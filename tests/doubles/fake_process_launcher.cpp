#include "fake_process_launcher.h"

#include "standin_options.h"
#include "standin_text_compare.h"

namespace tovimo::testing {

// A stand-in's process, held by the stand-in object itself: a later
// process with the same id is another object.
class FakeProcessLauncher::Process : public OwnedProcess {
public:
    Process(FakeProcessLauncher& launcher, FakeStandin& standin)
        : launcher_(launcher), standin_(standin) {}
    std::uint32_t Id() const override { return standin_.ProcessId(); }
    bool End() override {
        launcher_.endedProcesses_.push_back(Id());
        if (launcher_.onEndProcess) return launcher_.onEndProcess(Id());
        if (standin_.Ended()) return false;
        standin_.Terminate();
        return true;
    }
    // Sleeps on the clock in steps of 10 ms until it has ended or the time is up.
    bool WaitForEnd(int timeoutMs) override {
        for (int waited = 0; !standin_.Ended() && waited < timeoutMs && launcher_.clock_;
             waited += 10)
            launcher_.clock_->Sleep(10);
        return standin_.Ended();
    }

private:
    FakeProcessLauncher& launcher_;
    FakeStandin& standin_;
};

std::unique_ptr<OwnedProcess> FakeProcessLauncher::Owned(FakeStandin& standin) {
    return std::make_unique<Process>(*this, standin);
}

void FakeProcessLauncher::Record(LaunchKind kind, const std::string& argument,
                                 std::uint32_t creationFlags) {
    calls_.push_back({kind, argument, clock_ ? clock_->NowMs() : 0, creationFlags});
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

StartedProcess FakeProcessLauncher::CreateProcess(const std::string& commandLine,
                                                  std::uint32_t creationFlags) {
    Record(LaunchKind::CreateProcess, commandLine, creationFlags);
    if (onCreateProcess) return {onCreateProcess(commandLine), nullptr};
    if (!standinWindows_) return {createProcessResult_, nullptr};

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
        return {};
    }
    if (!createProcessResult_) return {};
    std::vector<std::string> options = EnvironmentArguments();
    options.insert(options.end(), arguments.begin(), arguments.end());
    return {true, Owned(standinWindows_->StartStandin(options))};
}

StartedProcess FakeProcessLauncher::ShellOpen(const std::string& filePath) {
    Record(LaunchKind::ShellOpen, filePath);
    if (onShellOpen) return {onShellOpen(filePath), nullptr};
    if (!shellOpenResult_) return {};
    if (!associationWindows_) return {true, nullptr};
    if (associationFiles_ && !associationFiles_->FileExists(filePath)) return {};
    if (!standin::EndsWithIgnoringCase(filePath, ".dwg")) return {};  // no association
    std::vector<std::string> options = EnvironmentArguments();
    options.push_back(filePath);
    return {true, Owned(associationWindows_->StartStandin(options))};
}

void FakeProcessLauncher::StartHidden(const std::string& commandLine, std::uint32_t creationFlags) {
    Record(LaunchKind::StartHidden, commandLine, creationFlags);
    if (onStartHidden) onStartHidden(commandLine);
}

std::unique_ptr<OwnedProcess> FakeProcessLauncher::OpenProcess(std::uint32_t processId) {
    openedProcesses_.push_back(processId);
    if (onOpenProcess && !onOpenProcess(processId)) return nullptr;
    FakeStandin* standin = StandinByProcessId(processId);
    if (!standin || standin->Ended()) return nullptr;
    return Owned(*standin);
}

FakeStandin* FakeProcessLauncher::StandinByProcessId(std::uint32_t processId) const {
    for (FakeWindowSystem* windows : {standinWindows_, associationWindows_})
        if (windows)
            if (FakeStandin* standin = windows->StandinByProcessId(processId)) return standin;
    return nullptr;
}

std::vector<std::string> FakeProcessLauncher::CallsOf(LaunchKind kind) const {
    std::vector<std::string> arguments;
    for (const auto& call : calls_)
        if (call.kind == kind) arguments.push_back(call.argument);
    return arguments;
}

}  // namespace tovimo::testing
