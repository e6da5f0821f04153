#pragma once
// Windows path pieces in code page 932: a "\" that is the trail byte of a
// double-byte character ("ソ", "表") separates nothing.
#include <string>
#include <string_view>

namespace tovimo::standin {

// The text after the last "\", "/" or ":".
std::string FileNameOf(std::string_view path);
// The file name without its last "." and what follows; unchanged without ".".
std::string StemOf(std::string_view fileName);
// The path without the extension of its file name.
std::string WithoutExtension(std::string_view path);

}  // namespace tovimo::standin
