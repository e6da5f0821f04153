#pragma once
// The AutoCAD processes of a run with several sessions, each assigned to
// the session that started it, so that no session takes another's windows
// for its own. Shared between the sessions' threads; every call is guarded.
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "platform/process_launcher.h"

namespace tovimo {

class SessionProcesses {
public:
    // processId's windows belong to session from now on.
    void Assign(std::uint32_t processId, int session);
    // Whether processId is the AutoCAD of a session other than session.
    bool OfOtherSession(std::uint32_t processId, int session) const;
    // Starts session's new AutoCAD in place of the one it had: the new
    // process is assigned before any other session learns whose it is, so
    // that windows it shows early are never taken by a session starting
    // beside it. Gives what CreateProcess gave.
    StartedProcess Start(int session, ProcessLauncher& launcher, const std::string& commandLine,
                         std::uint32_t creationFlags);

private:
    // Forgets session's processes; the lock is held.
    void ReleaseLocked(int session);

    mutable std::mutex mutex_;
    std::map<std::uint32_t, int> sessions_;
};

}  // namespace tovimo
