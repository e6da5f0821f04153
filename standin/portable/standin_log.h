#pragma once
// The stand-in's log: one line per event, "<ms> <kind> <field> ...", where ms
// counts from the start of the process, and each field is a decimal number or
// a text in double quotes. Texts are code page 932 bytes; a backslash, a
// double quote and the control bytes are escaped (\\ \" \n \r \t \xHH), and
// a double-byte character is never split, so "ソ" (its trail byte is "\")
// stays as it is. README.md lists the kinds of lines.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovimo::standin {

struct LogField {
    bool quoted = false;
    std::string value;  // unescaped
};
inline LogField LogNumber(std::int64_t value) { return {false, std::to_string(value)}; }
inline LogField LogText(std::string_view value) { return {true, std::string(value)}; }

std::string EscapeLogText(std::string_view text);
// The inverse of EscapeLogText; empty when the text holds a broken escape.
std::optional<std::string> UnescapeLogText(std::string_view escaped);

std::string FormatLogLine(std::int64_t ms, std::string_view kind,
                          const std::vector<LogField>& fields = {});

struct LogEntry {
    std::int64_t ms = 0;
    std::string kind;
    std::vector<std::string> fields;  // unescaped, numbers as their digits

    // The field at index, empty when the line has fewer.
    std::string Field(std::size_t index) const;
    bool operator==(const LogEntry&) const = default;
};

// Empty for a line that is not in the format (a trailing CR is allowed).
std::optional<LogEntry> ParseLogLine(std::string_view line);
// Every line of a log file; lines that are not in the format are left out.
std::vector<LogEntry> ParseLog(std::string_view content);
std::vector<LogEntry> EntriesOfKind(const std::vector<LogEntry>& entries, std::string_view kind);

}  // namespace tovimo::standin
