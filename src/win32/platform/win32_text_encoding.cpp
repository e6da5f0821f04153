#include "platform/win32_text_encoding.h"

#include <climits>

#include "platform/win32_api.h"

namespace tovimo::win32 {

namespace {
constexpr UINT ShiftJis = 932;
}

bool Win32TextEncoding::Cp932ToUtf16(std::string_view text, std::u16string& out) {
    out.clear();
    if (text.empty()) return true;
    if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
    const int bytes = static_cast<int>(text.size());
    // A byte sequence that is no character fails the whole text, rather than
    // being typed as some default character.
    const int units = ::MultiByteToWideChar(ShiftJis, MB_ERR_INVALID_CHARS, text.data(), bytes,
                                            nullptr, 0);
    if (units <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (::MultiByteToWideChar(ShiftJis, MB_ERR_INVALID_CHARS, text.data(), bytes, wide.data(),
                              units) != units)
        return false;
    out.assign(wide.begin(), wide.end());
    return true;
}

}  // namespace tovimo::win32
