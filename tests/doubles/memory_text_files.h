#pragma once
// Whole-file reads and writes on the in-memory tree, with a count of writes;
// the conversion to UTF-8 through iconv.
#include <string>
#include <vector>

#include "memory_files.h"
#include "platform/text_files.h"

namespace tovimo::testing {

class MemoryTextFiles : public TextFiles {
public:
    explicit MemoryTextFiles(MemoryFiles& files) : files_(files) {}

    std::optional<std::string> ReadAll(const std::string& path) override {
        return files_.ReadFile(path);
    }
    bool WriteAll(const std::string& path, const std::string& content) override {
        writes.push_back(path);
        if (failFromWrite >= 0 && writes.size() > static_cast<std::size_t>(failFromWrite)) return false;
        return files_.WriteFile(path, content);
    }

    bool Append(const std::string& path, const std::string& content) override {
        writes.push_back(path);
        const std::string before = files_.ReadFile(path).value_or("");
        return files_.WriteFile(path, before + content);
    }
    std::string Cp932ToUtf8(const std::string& text) override;

    std::vector<std::string> writes;  // every WriteAll, failed ones too
    // Writes from this one on (counting from 0) fail and change nothing, as
    // on a disk that has filled up; -1: none fails.
    int failFromWrite = -1;

private:
    MemoryFiles& files_;
};

}  // namespace tovimo::testing
