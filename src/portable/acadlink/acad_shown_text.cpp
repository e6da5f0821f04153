#include "acadlink/acad_shown_text.h"

#include "text/cp932_text.h"

namespace tovimo {

std::string AcadShownText(std::string_view text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        std::size_t width = IsCp932LeadByte(byte) && i + 1 < text.size() ? 2 : 1;
        std::string_view piece = text.substr(i, width);
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') width = 2;
            piece = " ";
        }
        if (shown.size() + piece.size() > MaxAcadShownBytes) break;
        shown += piece;
        i += width;
    }
    return shown;
}

}  // namespace tovimo
