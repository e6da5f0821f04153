#pragma once
// A settings file's text, changed the way the profile functions change it
// key by key, but all at once, so that the file can be replaced whole. Every
// line that no change names stays byte for byte: other programs' sections,
// a user's notes, the order of the keys, the line ends.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovimo {

// One key of a section set to a value (as it is to stand in the file), or,
// without a value, removed.
struct ProfileEdit {
    std::string section;
    std::string key;
    std::optional<std::string> value;

    bool operator==(const ProfileEdit&) const = default;
};

// The text with the edits made in their order. Names compare without regard
// to letter case, and the first of several equal sections or keys is the one
// changed, as the profile functions do. A key that is set anew goes after
// the last line of its section that is not blank; a section that is new goes
// at the end, after a blank line.
std::string ApplyProfileEdits(std::string_view text, const std::vector<ProfileEdit>& edits);

// The names of a section's keys, in file order; empty when there is no such
// section.
std::vector<std::string> ProfileKeyNamesIn(std::string_view text, std::string_view section);

// Whether the section holds the key.
bool ProfileTextHasKey(std::string_view text, std::string_view section, std::string_view key);

}  // namespace tovimo
