#pragma once
#include <cstdint>
#include <compare>
#include <memory>
#include <optional>
#include <string>

namespace tovimo {

// Attribute bits of a directory entry, as the file system reports them.
namespace file_attribute {
constexpr std::uint32_t ReadOnly = 0x01;
constexpr std::uint32_t Hidden = 0x02;
constexpr std::uint32_t System = 0x04;
constexpr std::uint32_t VolumeLabel = 0x08;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
// A junction, a directory link, a mount point, a file stub of a cloud store.
constexpr std::uint32_t ReparsePoint = 0x400;
}  // namespace file_attribute

// One entry found by a directory search: its name (no folder) and attributes.
struct DirectoryEntry {
    std::string name;
    std::uint32_t attributes = 0;
    // False when the name holds characters that code page 932 lacks: name
    // then has "?" in their place and names no entry that can be opened.
    bool nameConverts = true;

    bool IsFolder() const { return (attributes & file_attribute::Directory) != 0; }
    // "." and "..", which every folder but a drive root lists first.
    bool IsDotEntry() const { return name == "." || name == ".."; }
};

// A directory search under way (FindNextFileA); destroying it ends the
// search (FindClose).
class DirectorySearch {
public:
    virtual ~DirectorySearch() = default;
    // The next entry into entry; false when there is none left.
    virtual bool Next(DirectoryEntry& entry) = 0;
};

enum class PathKind { Missing, File, Folder };

// What the file system tells of a file without opening it.
struct FileStamp {
    bool exists = false;  // a file stands at the path (a folder does not count)
    // In steps of 100 ns, as Windows keeps it.
    std::uint64_t lastWriteTime = 0;
    std::uint64_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

// Steps of FileStamp::lastWriteTime in one second.
constexpr std::uint64_t FileTimeStepsPerSecond = 10'000'000;

// Why a directory search found nothing.
enum class SearchFailure {
    NothingFound,  // the folder is empty or missing, or nothing matches
    Unreadable,    // the folder is there but may not be read
    PathTooLong,   // the pattern is longer than the file functions take
};

// What tells one folder from every other, whatever path leads to it (a
// folder reached through a link has the identity of the link's target).
struct FolderIdentity {
    std::uint64_t volume = 0;
    // The folder's file id on its volume (128 bits on file systems that
    // have them).
    std::uint64_t indexHigh = 0;
    std::uint64_t indexLow = 0;
    auto operator<=>(const FolderIdentity&) const = default;
};

// The few file operations the programs make themselves. Drawings are never
// read or written here: AutoCAD does that.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // DeleteFileA; false when there was nothing to delete or it failed.
    virtual bool DeleteFile(const std::string& path) = 0;
    // CreateDirectoryA of one level; false when it failed.
    virtual bool CreateDirectory(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // What a path names, hidden and system entries and drive roots included.
    virtual PathKind GetPathKind(const std::string& path) = 0;
    // GetFileAttributesExA: whether a file is there, its last-write time and
    // its size. Nothing is opened, so a file that another program holds open
    // is described as well.
    virtual FileStamp GetFileStamp(const std::string& path) = 0;
    // Sets a file's last-write time alone (SetFileTime), in the steps of
    // FileStamp. False when the file is missing or may not be changed (no
    // right to, a read-only medium); a program that merely holds it open
    // does not stop it, since sharing does not govern a file's times.
    virtual bool SetLastWriteTime(const std::string& path, std::uint64_t lastWriteTime) = 0;
    // FindFirstFile: the first entry that pattern (a folder, "\" and a
    // wild-card name such as "*.*") matches goes into first. Empty when
    // nothing matches or the folder cannot be read, and failure then says
    // which. The entry is reused by the search's Next, so that a long walk
    // allocates little.
    virtual std::unique_ptr<DirectorySearch> FindFirst(const std::string& pattern,
                                                       DirectoryEntry& first,
                                                       SearchFailure& failure) = 0;
    // The identity of the folder path leads to, links followed; none when
    // the folder cannot be opened or the file system keeps no identities.
    virtual std::optional<FolderIdentity> IdentifyFolder(const std::string& path) = 0;
    // GetFullPathNameA: a relative path completed with the current directory;
    // the path unchanged when that fails.
    virtual std::string FullPathName(const std::string& path) = 0;
    // A key that two paths share when the file system takes them for the
    // same name: letters compared without case, as the file system compares
    // them (full-width and Greek letters too, and code page 932's two codes
    // of one character as one). The path's UTF-16LE bytes with its letters
    // upper-cased, the same on every machine: several workstations split
    // one list by it.
    virtual std::string PathKey(const std::string& path) = 0;
};

}  // namespace tovimo
