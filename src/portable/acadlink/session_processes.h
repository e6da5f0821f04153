#pragma once
// The AutoCAD processes of a run with several sessions, each assigned to
// the session that started it, so that no session takes another's windows
// for its own. Shared between the sessions' threads; every call is guarded.
#include <cstdint>
#include <map>
#include <mutex>

namespace tovimo {

class SessionProcesses {
public:
    // processId's windows belong to session from now on.
    void Assign(std::uint32_t processId, int session);
    // Whether processId is the AutoCAD of a session other than session.
    bool OfOtherSession(std::uint32_t processId, int session) const;
    // Forgets session's process (its AutoCAD was closed or lost).
    void Release(int session);

private:
    mutable std::mutex mutex_;
    std::map<std::uint32_t, int> sessions_;
};

}  // namespace tovimo
