#pragma once
#include "platform/text_encoding.h"

namespace tovimo::win32 {

// MultiByteToWideChar of kernel32.
class Win32TextEncoding : public TextEncoding {
public:
    bool Cp932ToUtf16(std::string_view text, std::u16string& out) override;
};

}  // namespace tovimo::win32
