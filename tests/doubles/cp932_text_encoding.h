#pragma once
#include "cp932_conversion.h"
#include "platform/text_encoding.h"

namespace tovimo::testing {

// The conversion as Windows does it, and a count of the texts converted.
class Cp932TextEncoding : public TextEncoding {
public:
    bool Cp932ToUtf16(std::string_view text, std::u16string& out) override {
        ++conversions;
        auto units = DecodeCp932(text);
        if (!units) return false;
        out = std::move(*units);
        return true;
    }
    int conversions = 0;
};

}  // namespace tovimo::testing
