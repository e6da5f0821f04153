#include "memory_text_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace tovimo::testing {

#ifdef _WIN32
std::string MemoryTextFiles::Cp932ToUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(932, 0, text.data(), size, nullptr, 0);
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(932, 0, text.data(), size, utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}
#else
std::string MemoryTextFiles::Cp932ToUtf8(const std::string& text) {
    iconv_t convert = iconv_open("UTF-8", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) return text;
    std::string in = text;
    std::string out(text.size() * 3 + 4, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(convert, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
        // A byte that is no CP932 becomes "?", as the Windows call makes it.
        ++inPtr;
        --inLeft;
        *outPtr++ = '?';
        --outLeft;
    }
    iconv_close(convert);
    out.resize(out.size() - outLeft);
    return out;
}
#endif

}  // namespace tovimo::testing
