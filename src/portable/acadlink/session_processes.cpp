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

void SessionProcesses::Release(int session) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = sessions_.begin(); it != sessions_.end();)
        it = it->second == session ? sessions_.erase(it) : std::next(it);
}

}  // namespace tovimo
