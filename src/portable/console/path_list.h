#pragma once
// A list of drawing paths as a text file: one path a line, in code page
// 932, each line ended by CR LF. TovimoCmd writes the drawings it did not
// convert so (/f) and reads such a list in place of paths (@FILE).
#include <string>
#include <string_view>
#include <vector>

namespace tovimo {

// Every path followed by CR LF; empty text for no paths.
std::string FormatPathList(const std::vector<std::string>& paths);

// The lines of the text, in order. A line ends at CR LF, LF or CR alone.
// Lines that are empty or hold only blanks are skipped; the others are taken
// as they are written.
std::vector<std::string> ParsePathList(std::string_view text);

}  // namespace tovimo
