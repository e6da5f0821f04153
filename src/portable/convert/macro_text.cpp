#include "convert/macro_text.h"

namespace tovimo {

std::vector<std::string> SplitMemoText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t lineStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(lineStart, i - lineStart));
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        lineStart = i;
    }
    if (lineStart < text.size()) {
        lines.emplace_back(text.substr(lineStart));
    }
    return lines;
}

std::string JoinMemoLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace tovimo
