#include "settings/profile_text.h"

#include <cstddef>

#include "text/cp932_text.h"

namespace tovimo {

namespace {

constexpr std::string_view NewLine = "\r\n";

// A line of the text: what it says, and the end that followed it (CR LF,
// LF, CR, or nothing on the last line).
struct Line {
    std::string content;
    std::string end;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = start;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n') ++stop;
        Line line{std::string(text.substr(start, stop - start)), {}};
        if (stop < text.size()) {
            const std::size_t endLength =
                text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? 2 : 1;
            line.end = std::string(text.substr(stop, endLength));
            stop += endLength;
        }
        lines.push_back(std::move(line));
        start = stop;
    }
    return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) {
        text += line.content;
        text += line.end;
    }
    return text;
}

std::string_view Trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// ASCII letters compare without case; the second byte of a double-byte
// character is never taken for a letter.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (IsCp932LeadByte(x)) {
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        const auto fold = [](unsigned char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
        };
        if (fold(x) != fold(y)) return false;
    }
    return true;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

std::optional<std::string_view> KeyName(std::string_view line) {
    if (SectionName(line)) return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, equals));
}

// The section's header line and one past its last line.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].content);
        if (!name || !SameName(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end].content)) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, const SectionRange& range,
                                   std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto name = KeyName(lines[i].content);
        if (name && SameName(*name, key)) return i;
    }
    return std::nullopt;
}

// A line is added after the last one, which may have had no end.
void EndLastLine(std::vector<Line>& lines) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = NewLine;
}

void Apply(std::vector<Line>& lines, const ProfileEdit& edit) {
    const std::optional<SectionRange> range = FindSection(lines, edit.section);
    if (!range) {
        if (!edit.value) return;
        EndLastLine(lines);
        if (!lines.empty()) lines.push_back({"", std::string(NewLine)});
        lines.push_back({"[" + edit.section + "]", std::string(NewLine)});
        lines.push_back({edit.key + "=" + *edit.value, std::string(NewLine)});
        return;
    }
    if (const std::optional<std::size_t> at = FindKey(lines, *range, edit.key)) {
        if (!edit.value) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
            return;
        }
        // The name keeps its spelling in the file.
        lines[*at].content = std::string(*KeyName(lines[*at].content)) + "=" + *edit.value;
        return;
    }
    if (!edit.value) return;
    std::size_t insertAt = range->header + 1;
    for (std::size_t i = range->header + 1; i < range->end; ++i)
        if (!Trim(lines[i].content).empty()) insertAt = i + 1;
    if (insertAt == lines.size()) EndLastLine(lines);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                 Line{edit.key + "=" + *edit.value, std::string(NewLine)});
}

}  // namespace

std::string ApplyProfileEdits(std::string_view text, const std::vector<ProfileEdit>& edits) {
    std::vector<Line> lines = SplitLines(text);
    for (const ProfileEdit& edit : edits) Apply(lines, edit);
    return JoinLines(lines);
}

std::vector<std::string> ProfileKeyNamesIn(std::string_view text, std::string_view section) {
    std::vector<std::string> names;
    const std::vector<Line> lines = SplitLines(text);
    const std::optional<SectionRange> range = FindSection(lines, section);
    if (!range) return names;
    for (std::size_t i = range->header + 1; i < range->end; ++i)
        if (const auto name = KeyName(lines[i].content)) names.emplace_back(*name);
    return names;
}

bool ProfileTextHasKey(std::string_view text, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = SplitLines(text);
    const std::optional<SectionRange> range = FindSection(lines, section);
    return range && FindKey(lines, *range, key).has_value();
}

}  // namespace tovimo
