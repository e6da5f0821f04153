#include "platform/win32_text_order.h"

#include "platform/win32_api.h"

#include <climits>

namespace tovimo::win32 {

int Win32TextOrder::Compare(std::string_view a, std::string_view b) const {
    // Paths are far shorter than INT_MAX; the clamp only keeps the cast sound.
    const auto length = [](std::string_view text) {
        return static_cast<int>(text.size() < INT_MAX ? text.size() : INT_MAX);
    };
    const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), length(a),
                                      b.data(), length(b));
    // CSTR_LESS_THAN 1, CSTR_EQUAL 2, CSTR_GREATER_THAN 3; 0 only for bad
    // arguments, which then sort as equal.
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

}  // namespace tovimo::win32
