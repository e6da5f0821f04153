#include "standin_text_compare.h"

#include "text/cp932_text.h"

namespace tovimo::standin {

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const auto byte = static_cast<unsigned char>(upper[i]);
        if (IsCp932LeadByte(byte)) {
            ++i;  // the trail byte may look like a letter
        } else if (byte >= 'a' && byte <= 'z') {
            upper[i] = static_cast<char>(byte - 'a' + 'A');
        }
    }
    return upper;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
    if (end.size() > text.size()) return false;
    // The end must begin on a character, not on the trail byte of one.
    const std::size_t start = text.size() - end.size();
    std::size_t i = 0;
    while (i < start) i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i == start && SameTextIgnoringCase(text.substr(start), end);
}

}  // namespace tovimo::standin
