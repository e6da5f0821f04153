#pragma once
// Text search that knows the double-byte characters of code page 932
// (Shift-JIS): a match never begins on the trail byte of a character.
#include <string_view>

namespace tovimo {

// True for a byte that starts a double-byte character in code page 932.
bool IsCp932LeadByte(unsigned char byte);

// 1-based byte position of the first match of part in text, 0 when none.
// An empty part or an empty text never matches.
int FindText(std::string_view text, std::string_view part);

inline bool ContainsText(std::string_view text, std::string_view part) {
    return FindText(text, part) > 0;
}
inline bool StartsWithText(std::string_view text, std::string_view part) {
    return FindText(text, part) == 1;
}

}  // namespace tovimo
