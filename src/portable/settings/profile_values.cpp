#include "settings/profile_values.h"

#include <climits>
#include <cstdint>

namespace tovimo {

namespace {

// A value can never hold a line break, so this default tells a missing key
// from every value that a file can hold.
const std::string MissingMarker = "\n";

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
    const std::string text = profile.ReadString(file, section, key, MissingMarker);
    return ParseProfileInteger(text).value_or(defaultValue);
}

bool ReadProfileBool(ProfileFile& profile, const std::string& file, const std::string& section,
                     const std::string& key, bool defaultValue) {
    const std::string text = profile.ReadString(file, section, key, MissingMarker);
    if (text == MissingMarker) {
        return defaultValue;
    }
    return ParseProfileInteger(text) == 1;
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
