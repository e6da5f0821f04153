#pragma once
#include <memory>
#include <string>
#include <vector>

namespace tovimo {

// A settings file read whole.
struct ProfileText {
    enum class State {
        Missing,     // no such file: a new one may be made
        Read,        // text holds the file, byte for byte
        Unreadable,  // the file is there but could not be read
    };
    State state = State::Missing;
    std::string text;
};

// What became of a whole new text for a settings file.
enum class ReplaceOutcome {
    Replaced,       // the file holds exactly the new text
    NothingBeside,  // no file could be made beside it; the file is as it was
    Failed,         // the new text could not be written; the file is as it was
};

// Held while a settings file is read and replaced; destroying it lets the
// next program in.
class ProfileLock {
public:
    virtual ~ProfileLock() = default;
};

// A Windows profile (.ini) file, read and written key by key. Section and key
// names compare without regard to letter case.
class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    // GetPrivateProfileStringA: the value, or defaultValue when the file,
    // section or key is missing. The value comes back whole, however long,
    // without the blanks around it and without one pair of double or single
    // quotes that encloses it.
    virtual std::string ReadString(const std::string& filePath, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // GetPrivateProfileStringA with no key: the names of the keys of a
    // section, in file order; empty when the file or the section is missing.
    virtual std::vector<std::string> ReadKeyNames(const std::string& filePath,
                                                  const std::string& section) = 0;
    // WritePrivateProfileStringA; false when the file cannot be written.
    virtual bool WriteString(const std::string& filePath, const std::string& section,
                             const std::string& key, const std::string& value) = 0;

    // The whole file as it lies on disk.
    virtual ProfileText ReadText(const std::string& filePath) = 0;
    // Writes text to a new file beside filePath, then puts it in the place
    // of filePath in one step, so that the file is never seen half written.
    // The file keeps its attributes and security settings.
    virtual ReplaceOutcome ReplaceWhole(const std::string& filePath, const std::string& text) = 0;
    // Waits until no other program (another copy of Tovimo included) is
    // updating a settings file of filePath's folder, and keeps them out
    // until the lock is destroyed. The wait is bounded: a program that holds
    // the lock for ever costs a few seconds, after which the lock is empty
    // and guards nothing.
    virtual std::unique_ptr<ProfileLock> LockFolder(const std::string& filePath) = 0;
};

}  // namespace tovimo
