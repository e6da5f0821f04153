#pragma once
// Letter-case rules of the stand-in: command names, system variables, switches
// and paths compare without regard to ASCII letter case; the bytes of
// double-byte characters (code page 932) are never folded.
#include <string>
#include <string_view>

namespace tovimo::standin {

std::string UpperAscii(std::string_view text);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
bool EndsWithIgnoringCase(std::string_view text, std::string_view end);

}  // namespace tovimo::standin
