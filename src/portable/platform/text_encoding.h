#pragma once
#include <string>
#include <string_view>

namespace tovimo {

// Conversion of code page 932 text to UTF-16, for the programs that read
// their text as UTF-16 (a Unicode AutoCAD).
class TextEncoding {
public:
    virtual ~TextEncoding() = default;
    // MultiByteToWideChar(932, MB_ERR_INVALID_CHARS): false when the text
    // holds a byte sequence that is no character of code page 932; out is
    // then undefined. The empty text converts to the empty text.
    virtual bool Cp932ToUtf16(std::string_view text, std::u16string& out) = 0;
};

}  // namespace tovimo
