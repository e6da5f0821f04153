#include "standin_log_file.h"

#include "test_files.h"
#include "wait_until.h"

namespace tovimo::wine_tests {

std::vector<LogEntry> StandinLogFile::Entries() const {
    return standin::ParseLog(ReadWholeFile(path_).value_or(""));
}

std::vector<LogEntry> StandinLogFile::OfKind(const std::string& kind) const {
    return standin::EntriesOfKind(Entries(), kind);
}

bool StandinLogFile::Has(const std::string& kind, const std::vector<std::string>& fields) const {
    for (const LogEntry& entry : OfKind(kind)) {
        bool matches = true;
        for (std::size_t i = 0; i < fields.size() && matches; ++i)
            matches = entry.Field(i) == fields[i];
        if (matches) return true;
    }
    return false;
}

bool StandinLogFile::WaitFor(const std::string& kind, const std::vector<std::string>& fields,
                             int timeoutMs) const {
    return WaitUntil([&] { return Has(kind, fields); }, timeoutMs);
}

std::string StandinLogFile::Text() const {
    return ReadWholeFile(path_).value_or("(no log at " + path_ + ")");
}

}  // namespace tovimo::wine_tests
