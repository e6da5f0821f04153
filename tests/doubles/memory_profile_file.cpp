#include "memory_profile_file.h"

#include <string_view>

#include "text/cp932_text.h"

namespace tovimo::testing {

namespace {

// ASCII letters folded to lower case; the second byte of a double-byte
// character stays as it is, although it may look like a letter.
std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(folded[i]);
        if (IsCp932LeadByte(byte)) {
            ++i;
        } else if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return folded;
}

bool SameName(std::string_view a, std::string_view b) { return FoldCase(a) == FoldCase(b); }

std::string_view Trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view StripEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The lines of a file without their terminators (CR, LF or CR LF).
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        lines.push_back(current);
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;  // raw: blanks and quotes still there
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(line.substr(0, equals)), line.substr(equals + 1)};
}

// Where a section lies in the lines: its header, and one past its last line.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<std::string>& lines,
                                        std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (name && SameName(*name, section)) {
            std::size_t end = i + 1;
            while (end < lines.size() && !SectionName(lines[end])) {
                ++end;
            }
            return SectionRange{i, end};
        }
    }
    return std::nullopt;
}

}  // namespace

MemoryProfileFile::File& MemoryProfileFile::FileAt(const std::string& filePath) {
    return files_[FoldCase(filePath)];
}

const MemoryProfileFile::File* MemoryProfileFile::FindFile(const std::string& filePath) const {
    const auto found = files_.find(FoldCase(filePath));
    return found == files_.end() ? nullptr : &found->second;
}

std::string MemoryProfileFile::ReadString(const std::string& filePath, const std::string& section,
                                          const std::string& key,
                                          const std::string& defaultValue) {
    const File* file = FindFile(filePath);
    if (file == nullptr || !file->text || file->unreadable) {
        return defaultValue;
    }
    const std::vector<std::string> lines = SplitLines(*file->text);
    const auto range = FindSection(lines, section);
    if (!range) {
        return defaultValue;
    }
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const auto keyLine = ParseKeyLine(lines[i]);
        if (keyLine && SameName(keyLine->name, key)) {
            return std::string(StripEnclosingQuotes(Trim(keyLine->value)));
        }
    }
    return defaultValue;
}

std::vector<std::string> MemoryProfileFile::ReadKeyNames(const std::string& filePath,
                                                         const std::string& section) {
    std::vector<std::string> names;
    const File* file = FindFile(filePath);
    if (file == nullptr || !file->text || file->unreadable) {
        return names;
    }
    const std::vector<std::string> lines = SplitLines(*file->text);
    const auto range = FindSection(lines, section);
    if (!range) {
        return names;
    }
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (const auto keyLine = ParseKeyLine(lines[i])) {
            names.emplace_back(keyLine->name);
        }
    }
    return names;
}

bool MemoryProfileFile::WriteString(const std::string& filePath, const std::string& section,
                                    const std::string& key, const std::string& value) {
    File& file = FileAt(filePath);
    writes_.push_back({filePath, section, key, value, file.writable});
    if (!file.writable) {
        return false;
    }
    std::vector<std::string> lines = SplitLines(file.text.value_or(""));
    const auto range = FindSection(lines, section);
    if (!range) {
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
        file.text = JoinLines(lines);
        return true;
    }
    std::size_t insertAt = range->header + 1;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const auto keyLine = ParseKeyLine(lines[i]);
        if (keyLine && SameName(keyLine->name, key)) {
            lines[i] = std::string(keyLine->name) + "=" + value;
            file.text = JoinLines(lines);
            return true;
        }
        // A new key goes after the last line of the section that is not blank.
        if (!Trim(lines[i]).empty()) {
            insertAt = i + 1;
        }
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), key + "=" + value);
    file.text = JoinLines(lines);
    return true;
}

ProfileText MemoryProfileFile::ReadText(const std::string& filePath) {
    wholeFileCalls_.push_back("read");
    const File* file = FindFile(filePath);
    if (file == nullptr || !file->text) return {ProfileText::State::Missing, {}};
    if (file->unreadable) return {ProfileText::State::Unreadable, {}};
    return {ProfileText::State::Read, *file->text};
}

ReplaceOutcome MemoryProfileFile::ReplaceWhole(const std::string& filePath, const std::string& text) {
    wholeFileCalls_.push_back("replace");
    File& file = FileAt(filePath);
    if (!file.writable || file.nothingBeside) return ReplaceOutcome::NothingBeside;
    // Half the new text reached the file beside it, which is then removed.
    if (file.replaceFailsMidway) return ReplaceOutcome::Failed;
    file.text = text;
    return ReplaceOutcome::Replaced;
}

std::unique_ptr<ProfileLock> MemoryProfileFile::LockFolder(const std::string&) {
    struct Lock : ProfileLock {
        explicit Lock(std::vector<std::string>& calls) : calls_(calls) { calls_.push_back("lock"); }
        ~Lock() override { calls_.push_back("unlock"); }
        std::vector<std::string>& calls_;
    };
    return std::make_unique<Lock>(wholeFileCalls_);
}

void MemoryProfileFile::SetNothingBeside(const std::string& filePath, bool nothingBeside) {
    FileAt(filePath).nothingBeside = nothingBeside;
}

void MemoryProfileFile::SetReplaceFailsMidway(const std::string& filePath, bool fails) {
    FileAt(filePath).replaceFailsMidway = fails;
}

void MemoryProfileFile::SetUnreadable(const std::string& filePath, bool unreadable) {
    FileAt(filePath).unreadable = unreadable;
}

void MemoryProfileFile::SetText(const std::string& filePath, const std::string& text) {
    FileAt(filePath).text = text;
}

std::optional<std::string> MemoryProfileFile::Text(const std::string& filePath) const {
    const File* file = FindFile(filePath);
    return file == nullptr ? std::nullopt : file->text;
}

void MemoryProfileFile::SetWritable(const std::string& filePath, bool writable) {
    FileAt(filePath).writable = writable;
}

}  // namespace tovimo::testing
