#pragma once
// Typed access to the values of the settings file, on top of ProfileFile.
// Every reader gives its default when the file, the section or the key is
// missing; the writers give false when the file cannot be written.
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile_file.h"

namespace tovimo {

// The integer that a settings value holds: an optional sign, then decimal
// digits, or hexadecimal digits after 0x, 0X or $. Nothing else may follow.
// Empty when the text is no integer or lies outside the range of int.
std::optional<int> ParseProfileInteger(std::string_view text);

// The integer value of a key; defaultValue when the key is missing or its
// value is no integer.
int ReadProfileInteger(ProfileFile& profile, const std::string& file, const std::string& section,
                       const std::string& key, int defaultValue);

// An on/off value: defaultValue when the key is missing; otherwise on only
// for a value that is the integer 1, off for every other value.
bool ReadProfileBool(ProfileFile& profile, const std::string& file, const std::string& section,
                     const std::string& key, bool defaultValue);

std::string ReadProfileString(ProfileFile& profile, const std::string& file,
                              const std::string& section, const std::string& key,
                              const std::string& defaultValue);

// Written as decimal text.
bool WriteProfileInteger(ProfileFile& profile, const std::string& file, const std::string& section,
                         const std::string& key, int value);

// Written as 1 or 0.
bool WriteProfileBool(ProfileFile& profile, const std::string& file, const std::string& section,
                      const std::string& key, bool value);

// Writes a text so that ReadProfileString gives it back unchanged. The
// profile functions drop the blanks around a value and one pair of quotes
// that encloses it; such a value is therefore written inside double quotes,
// which the reader removes again. Every other value is written as it is.
// (Not "WriteProfileString": windows.h makes that name a macro.)
bool WriteProfileText(ProfileFile& profile, const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value);

// The text that WriteProfileText puts into the file for value.
std::string ProtectProfileValue(const std::string& value);

}  // namespace tovimo
