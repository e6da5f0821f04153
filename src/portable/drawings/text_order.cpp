#include "drawings/text_order.h"

#include <algorithm>

#include "text/cp932_text.h"

namespace tovimo {

namespace {

// The code of the character at offset (one or two bytes) with A to Z folded
// to a to z; advances offset past it.
unsigned NextFoldedCharacter(std::string_view text, std::size_t& offset) {
    const auto first = static_cast<unsigned char>(text[offset++]);
    if (IsCp932LeadByte(first) && offset < text.size()) {
        const auto second = static_cast<unsigned char>(text[offset++]);
        return (static_cast<unsigned>(first) << 8) | second;
    }
    if (first >= 'A' && first <= 'Z') return first - 'A' + 'a';
    return first;
}

}  // namespace

int Cp932IgnoreCaseOrder::Compare(std::string_view a, std::string_view b) const {
    std::size_t offsetA = 0;
    std::size_t offsetB = 0;
    while (offsetA < a.size() && offsetB < b.size()) {
        const unsigned charA = NextFoldedCharacter(a, offsetA);
        const unsigned charB = NextFoldedCharacter(b, offsetB);
        if (charA != charB) return charA < charB ? -1 : 1;
    }
    const bool moreA = offsetA < a.size();
    const bool moreB = offsetB < b.size();
    return moreA == moreB ? 0 : (moreA ? 1 : -1);
}

void SortPaths(std::vector<std::string>& paths, const TextOrder& order) {
    std::stable_sort(paths.begin(), paths.end(), [&](const std::string& a, const std::string& b) {
        return order.Compare(a, b) < 0;
    });
}

}  // namespace tovimo
