#pragma once
// Profile (.ini) files held in memory, read and written as Windows' profile
// functions do: names of files, sections and keys compare without regard to
// letter case, the first of several equal sections or keys counts, values come
// back without the blanks around them and without one enclosing pair of
// quotes, and a write creates the file, the section and the key as needed.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile_file.h"

namespace tovimo::testing {

class MemoryProfileFile : public ProfileFile {
public:
    struct WriteCall {
        std::string filePath;
        std::string section;
        std::string key;
        std::string value;
        bool written = false;
    };

    std::string ReadString(const std::string& filePath, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    std::vector<std::string> ReadKeyNames(const std::string& filePath,
                                          const std::string& section) override;
    bool WriteString(const std::string& filePath, const std::string& section,
                     const std::string& key, const std::string& value) override;
    ProfileText ReadText(const std::string& filePath) override;
    ReplaceOutcome ReplaceWhole(const std::string& filePath, const std::string& text) override;
    std::unique_ptr<ProfileLock> LockFolder(const std::string& filePath) override;

    // Test set-up and inspection of the raw file text.
    void SetText(const std::string& filePath, const std::string& text);
    std::optional<std::string> Text(const std::string& filePath) const;
    // An unwritable file (read-only, or in a folder that does not exist):
    // every write gives false and changes nothing.
    void SetWritable(const std::string& filePath, bool writable);
    // Every WriteString call, in order, with its result.
    const std::vector<WriteCall>& Writes() const { return writes_; }
    // The folder takes no new file (only the file itself may be written).
    void SetNothingBeside(const std::string& filePath, bool nothingBeside);
    // The new file beside it cannot be written to the end (a full disk).
    void SetReplaceFailsMidway(const std::string& filePath, bool fails);
    // The file is there but cannot be read.
    void SetUnreadable(const std::string& filePath, bool unreadable);
    // The whole-file calls in order: "lock", "read", "replace", "unlock".
    const std::vector<std::string>& WholeFileCalls() const { return wholeFileCalls_; }

private:
    struct File {
        std::optional<std::string> text;  // empty: the file does not exist
        bool writable = true;
        bool nothingBeside = false;
        bool replaceFailsMidway = false;
        bool unreadable = false;
    };
    File& FileAt(const std::string& filePath);
    const File* FindFile(const std::string& filePath) const;

    std::map<std::string, File> files_;  // by the case-folded path
    std::vector<WriteCall> writes_;
    std::vector<std::string> wholeFileCalls_;
};

}  // namespace tovimo::testing
