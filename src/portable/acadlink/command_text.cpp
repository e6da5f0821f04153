#include "acadlink/command_text.h"

#include <string>

namespace tovimo {

std::optional<std::vector<std::uint8_t>> EncodeCommandText(std::string_view text,
                                                           CommandTextForm form,
                                                           TextEncoding& encoding) {
    std::vector<std::uint8_t> data;
    if (form == CommandTextForm::Cp932) {
        data.assign(text.begin(), text.end());
        data.push_back(0);
        return data;
    }
    std::u16string units;
    if (!encoding.Cp932ToUtf16(text, units)) return std::nullopt;
    // Windows is little-endian; the bytes are laid out so whatever builds this.
    data.reserve((units.size() + 1) * 2);
    for (const char16_t unit : units) {
        data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return data;
}

}  // namespace tovimo
