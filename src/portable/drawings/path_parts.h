#pragma once
// The parts of a Windows path that the drawing list and the run lists look
// at. Paths are code page 932 text: a "\" byte that is the trail byte of a
// double-byte character ("ソ", "表") is part of a name, never a separator.
#include <cstddef>
#include <string>
#include <string_view>

namespace tovimo {

// The number of characters of text: a double-byte character counts once.
std::size_t CharacterCount(std::string_view text);

// Byte offset of the character that follows the first count characters
// (text.size() when text is shorter).
std::size_t ByteOffsetOfCharacter(std::string_view text, std::size_t count);

// The last component of a path: what follows the last "\" or ":".
std::string_view FileNameOf(std::string_view path);

// The path with the extension of its last component removed: the last "."
// of the file name and what follows it. A file name without "." is kept
// whole, even when a folder name holds one.
std::string_view RemoveExtension(std::string_view path);

// The extension of the last component, from its last "." on, dot included;
// empty when the file name has no ".". Not lower-cased.
std::string_view ExtensionOf(std::string_view path);

// Lower-casing in code page 932 as the system's ANSI lower-casing does it:
// the letters A to Z become a to z; the bytes of double-byte characters stay
// as they are (full-width letters never turn into ASCII ones, so the
// comparison with ".dwg" or ".dxf" comes out as the system's would).
std::string LowerCaseAnsi(std::string_view text);

// True when the lower-cased extension of path is lowerExtension (which must
// already be lower-case). Allocates nothing: it is asked for every file of a
// walk.
bool HasLowerCaseExtension(std::string_view path, std::string_view lowerExtension);

// A folder path without the "\" separators at its end, so that folder + "\"
// + name never doubles one. A drive root "D:\" becomes "D:", which still
// names the root when a "\" and a name follow it.
std::string_view WithoutTrailingSeparators(std::string_view folder);

// True when the last character of text is a "\" separator (not the trail
// byte of a double-byte character).
bool EndsWithSeparator(std::string_view text);

}  // namespace tovimo
