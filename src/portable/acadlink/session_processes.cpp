#include "acadlink/session_processes.h"

namespace tovimo {

void SessionProcesses::Assign(std::uint32_t processId, int session) {
    if (processId == 0) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    sessions_[processId] = session;
}

bool SessionProcesses::OfOtherSession(std::uint32_t processId, int session) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto it = sessions_.find(processId);
    return it != sessions_.end() && it->second != session;
}

void SessionProcesses::ReleaseLocked(int session) {
    for (auto it = sessions_.begin(); it != sessions_.end();)
        it = it->second == session ? sessions_.erase(it) : std::next(it);
}

StartedProcess SessionProcesses::Start(int session, ProcessLauncher& launcher,
                                       const std::string& commandLine,
                                       std::uint32_t creationFlags) {
    // Held across CreateProcess: a session that meets the new process's
    // windows waits here until they are known to be this session's.
    const std::lock_guard<std::mutex> lock(mutex_);
    // The AutoCAD it had has ended: its id may be given to another process.
    ReleaseLocked(session);
    StartedProcess started = launcher.CreateProcess(commandLine, creationFlags);
    if (started.process && started.process->Id() != 0) sessions_[started.process->Id()] = session;
    return started;
}

}  // namespace tovimo
