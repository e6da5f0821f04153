#include "text/cp932_text.h"

namespace tovimo {

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int FindText(std::string_view text, std::string_view part) {
    if (text.empty() || part.empty()) return 0;
    std::size_t position = 0;
    while (position < text.size()) {
        if (text.substr(position).starts_with(part))
            return static_cast<int>(position) + 1;
        const bool lead = IsCp932LeadByte(static_cast<unsigned char>(text[position]));
        position += (lead && position + 1 < text.size()) ? 2 : 1;
    }
    return 0;
}

}  // namespace tovimo
