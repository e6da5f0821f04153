#include "memory_text_files.h"

#include <iconv.h>

namespace tovimo::testing {

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

}  // namespace tovimo::testing
