#pragma once
// The text form of a macro in the settings memos: one macro line per text line.
#include <string>
#include <string_view>
#include <vector>

namespace tovimo {

// The lines of a memo text. A line ends at CR, at LF or at CR LF; a line
// break at the very end adds no empty line; an empty line inside the text is
// an empty entry; the text ends at its first NUL byte.
std::vector<std::string> SplitMemoText(std::string_view text);

// The memo text of macro lines: each line followed by CR LF.
std::string JoinMemoLines(const std::vector<std::string>& lines);

}  // namespace tovimo
