#pragma once
// Code page 932 to and from UTF-16 as Windows converts it, for the doubles:
// the system's own functions in the Windows build, iconv's "CP932" (the
// same table) in the native one.
#include <optional>
#include <string>
#include <string_view>

namespace tovimo::testing {

// MultiByteToWideChar(932, MB_ERR_INVALID_CHARS): nothing when a byte
// sequence is no character.
std::optional<std::u16string> DecodeCp932(std::string_view text);
// WideCharToMultiByte(932): a character without a form becomes "?".
std::string EncodeCp932(std::u16string_view text);

}  // namespace tovimo::testing
