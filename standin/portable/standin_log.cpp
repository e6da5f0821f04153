#include "standin_log.h"

#include <algorithm>
#include <charconv>

#include "text/cp932_text.h"

namespace tovimo::standin {

namespace {

bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string EscapeLogText(std::string_view text) {
    static const char* const digits = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(byte) && i + 1 < text.size() &&
            IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            out += text[i];
            out += text[++i];
        } else if (byte == '\\' || byte == '"') {
            out += '\\';
            out += text[i];
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F || IsCp932LeadByte(byte)) {
            // A lead byte without its trail byte is escaped too, so that the
            // reader never takes the next escape for a trail byte.
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 0x0F];
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> UnescapeLogText(std::string_view escaped) {
    std::string out;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(escaped[i]);
        if (IsCp932LeadByte(byte)) {
            if (i + 1 >= escaped.size()) return std::nullopt;
            out += escaped[i];
            out += escaped[++i];
            continue;
        }
        if (byte != '\\') {
            out += escaped[i];
            continue;
        }
        if (++i >= escaped.size()) return std::nullopt;
        switch (escaped[i]) {
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'x': {
                if (i + 2 >= escaped.size()) return std::nullopt;
                const int high = HexValue(escaped[i + 1]);
                const int low = HexValue(escaped[i + 2]);
                if (high < 0 || low < 0) return std::nullopt;
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default: return std::nullopt;
        }
    }
    return out;
}

std::string FormatLogLine(std::int64_t ms, std::string_view kind, const std::vector<LogField>& fields) {
    std::string line = std::to_string(ms);
    line += ' ';
    line += kind;
    for (const auto& field : fields) {
        line += ' ';
        if (field.quoted) {
            line += '"';
            line += EscapeLogText(field.value);
            line += '"';
        } else {
            line += field.value;
        }
    }
    return line;
}

std::string LogEntry::Field(std::size_t index) const {
    return index < fields.size() ? fields[index] : std::string();
}

std::optional<LogEntry> ParseLogLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    LogEntry entry;
    const auto* end = line.data() + line.size();
    const auto number = std::from_chars(line.data(), end, entry.ms);
    if (number.ec != std::errc() || number.ptr == end || *number.ptr != ' ') return std::nullopt;
    std::size_t i = static_cast<std::size_t>(number.ptr - line.data()) + 1;

    const std::size_t kindEnd = std::min(line.find(' ', i), line.size());
    entry.kind = std::string(line.substr(i, kindEnd - i));
    if (entry.kind.empty()) return std::nullopt;
    i = kindEnd;

    while (i < line.size()) {
        if (line[i] != ' ' || ++i >= line.size()) return std::nullopt;
        if (line[i] == '"') {
            // The closing quote is the first one not escaped, outside a character.
            std::size_t j = i + 1;
            while (j < line.size() && line[j] != '"') {
                const auto byte = static_cast<unsigned char>(line[j]);
                j += (byte == '\\' || IsCp932LeadByte(byte)) ? 2 : 1;
            }
            if (j >= line.size()) return std::nullopt;
            auto text = UnescapeLogText(line.substr(i + 1, j - i - 1));
            if (!text) return std::nullopt;
            entry.fields.push_back(std::move(*text));
            i = j + 1;
        } else {
            const std::size_t fieldEnd = std::min(line.find(' ', i), line.size());
            if (fieldEnd == i) return std::nullopt;  // two blanks in a row
            entry.fields.emplace_back(line.substr(i, fieldEnd - i));
            i = fieldEnd;
        }
    }
    return entry;
}

std::vector<LogEntry> ParseLog(std::string_view content) {
    std::vector<LogEntry> entries;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        if (auto entry = ParseLogLine(content.substr(start, end - start))) entries.push_back(*entry);
        start = end + 1;
    }
    return entries;
}

std::vector<LogEntry> EntriesOfKind(const std::vector<LogEntry>& entries, std::string_view kind) {
    std::vector<LogEntry> matching;
    for (const auto& entry : entries)
        if (entry.kind == kind) matching.push_back(entry);
    return matching;
}

}  // namespace tovimo::standin
