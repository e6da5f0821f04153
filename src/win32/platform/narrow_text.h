#pragma once
// The system's wide text (dropped paths, the command line) in the program's
// code page. Never by best fit: best fit turns a character that the code
// page lacks into a look-alike ("¥" into "\") or a "?", and such a path
// names another file or none.
#include <optional>
#include <string>

namespace tovimo::win32 {

// The text in codePage; none when a character has no form there.
std::optional<std::string> ToNarrowExactly(const wchar_t* text, unsigned codePage);

// The text in codePage for showing, with "?" for each character it lacks.
std::string ToNarrowShown(const wchar_t* text, unsigned codePage);

}  // namespace tovimo::win32
