#include "settings/profile_values.h"

#include <climits>
#include <cstdint>

namespace tovimo {

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

bool IsProfileBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<int> ParseProfileInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // The magnitude of INT_MIN is one more than INT_MAX.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t magnitude = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int ReadProfileInteger(ProfileFile& profile, const std::string& file, const std::string& section,
                       const std::string& key, int defaultValue) {
    // A missing key reads as the empty text, which is no integer either.
    const std::string text = profile.ReadString(file, section, key, "");
    return ParseProfileInteger(text).value_or(defaultValue);
}

bool ReadProfileBool(ProfileFile& profile, const std::string& file, const std::string& section,
                     const std::string& key, bool defaultValue) {
    // A key is missing when two different defaults both come back; a second
    // read is only needed when the first gives its default.
    const std::string text = profile.ReadString(file, section, key, "0");
    if (text != "0") {
        return ParseProfileInteger(text) == 1;
    }
    const bool missing = profile.ReadString(file, section, key, "1") == "1";
    return missing ? defaultValue : false;
}

std::string ReadProfileString(ProfileFile& profile, const std::string& file,
                              const std::string& section, const std::string& key,
                              const std::string& defaultValue) {
    return profile.ReadString(file, section, key, defaultValue);
}

bool WriteProfileInteger(ProfileFile& profile, const std::string& file, const std::string& section,
                         const std::string& key, int value) {
    return profile.WriteString(file, section, key, std::to_string(value));
}

bool WriteProfileBool(ProfileFile& profile, const std::string& file, const std::string& section,
                      const std::string& key, bool value) {
    return profile.WriteString(file, section, key, value ? "1" : "0");
}

std::string ProtectProfileValue(const std::string& value) {
    if (value.empty()) {
        return value;
    }
    const char first = value.front();
    const char last = value.back();
    const bool blankAtEnd = IsProfileBlank(first) || IsProfileBlank(last);
    const bool enclosedInQuotes =
        value.size() >= 2 && (first == '"' || first == '\'') && last == first;
    if (blankAtEnd || enclosedInQuotes) {
        return "\"" + value + "\"";
    }
    return value;
}

bool WriteProfileText(ProfileFile& profile, const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
    return profile.WriteString(file, section, key, ProtectProfileValue(value));
}

}  // namespace tovimo
