#include "cp932_conversion.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "text/cp932_text.h"

namespace tovimo::testing {

#ifdef _WIN32

std::optional<std::u16string> DecodeCp932(std::string_view text) {
    if (text.empty()) return std::u16string();
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), bytes, nullptr, 0);
    if (units <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), bytes, wide.data(), units);
    return std::u16string(wide.begin(), wide.end());
}

std::string EncodeCp932(std::u16string_view text) {
    if (text.empty()) return {};
    const std::wstring wide(text.begin(), text.end());
    const int units = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(932, 0, wide.data(), units, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(932, 0, wide.data(), units, out.data(), bytes, "?", nullptr);
    return out;
}

#else

namespace {

// One character through iconv; false when it has no form on the other side.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    char buffer[16];
    char* input = const_cast<char*>(in.data());
    std::size_t inputLeft = in.size();
    char* output = buffer;
    std::size_t outputLeft = sizeof buffer;
    const std::size_t result = iconv(converter, &input, &inputLeft, &output, &outputLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || inputLeft != 0) return false;
    out.assign(buffer, static_cast<std::size_t>(output - buffer));
    return true;
}

// Single bytes that Windows' table maps and iconv's leaves out.
std::optional<char16_t> WindowsSingleByte(unsigned char byte) {
    switch (byte) {
        case 0x80: return u'\u0080';
        case 0xA0: return u'\uF8F0';
        case 0xFD: return u'\uF8F1';
        case 0xFE: return u'\uF8F2';
        case 0xFF: return u'\uF8F3';
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<std::u16string> DecodeCp932(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++i;
            continue;
        }
        if (const auto unit = WindowsSingleByte(byte)) {
            out.push_back(*unit);
            ++i;
            continue;
        }
        const std::size_t length = IsCp932LeadByte(byte) ? 2 : 1;
        if (i + length > text.size()) return std::nullopt;
        std::string utf16;
        if (!Convert("UTF-16LE", "CP932", text.substr(i, length), utf16) || utf16.size() != 2)
            return std::nullopt;
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(utf16[0]) |
                                            static_cast<unsigned char>(utf16[1]) << 8));
        i += length;
    }
    return out;
}

std::string EncodeCp932(std::u16string_view text) {
    std::string out;
    for (const char16_t unit : text) {
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
            continue;
        }
        const char bytes[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        std::string converted;
        out += Convert("CP932", "UTF-16LE", std::string_view(bytes, 2), converted) ? converted : "?";
    }
    return out;
}

#endif

}  // namespace tovimo::testing
