#include "platform/narrow_text.h"

#include "platform/win32_api.h"

namespace tovimo::win32 {

namespace {

// flags WC_NO_BEST_FIT_CHARS: unconvertible characters become the default
// "?" and are reported in usedDefault.
std::string Convert(const wchar_t* text, unsigned codePage, BOOL& usedDefault) {
    usedDefault = FALSE;
    const int length = static_cast<int>(::wcslen(text));
    if (length == 0) return std::string();
    const int bytes = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text, length, nullptr,
                                            0, nullptr, &usedDefault);
    if (bytes <= 0) {
        usedDefault = TRUE;
        return std::string();
    }
    std::string converted(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text, length, converted.data(), bytes,
                          nullptr, &usedDefault);
    return converted;
}

}  // namespace

std::optional<std::string> ToNarrowExactly(const wchar_t* text, unsigned codePage) {
    BOOL usedDefault = FALSE;
    std::string converted = Convert(text, codePage, usedDefault);
    if (usedDefault) return std::nullopt;
    return converted;
}

std::string ToNarrowShown(const wchar_t* text, unsigned codePage) {
    BOOL usedDefault = FALSE;
    return Convert(text, codePage, usedDefault);
}

}  // namespace tovimo::win32
