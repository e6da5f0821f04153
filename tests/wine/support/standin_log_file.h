#pragma once
// The log file of one stand-in AutoCAD, read while it runs.
#include <functional>
#include <string>
#include <vector>

#include "standin_log.h"

namespace tovimo::wine_tests {

using standin::LogEntry;

class StandinLogFile {
public:
    explicit StandinLogFile(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }
    // The switch that makes a stand-in write this log.
    std::string Switch() const { return "/log:" + path_; }

    std::vector<LogEntry> Entries() const;
    std::vector<LogEntry> OfKind(const std::string& kind) const;
    // Whether an entry of this kind whose fields start with these has come.
    bool Has(const std::string& kind, const std::vector<std::string>& fields = {}) const;
    // Waits up to timeoutMs for such an entry.
    bool WaitFor(const std::string& kind, const std::vector<std::string>& fields = {},
                 int timeoutMs = 15000) const;
    // The whole log, for a failure message.
    std::string Text() const;

private:
    std::string path_;
};

}  // namespace tovimo::wine_tests
