#include "console/path_list.h"

namespace tovimo {

std::string FormatPathList(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) text += path + "\r\n";
    return text;
}

namespace {

// Blanks and tabs only: a path that is nothing else names no file, and
// taking it would only fail later as a missing path with no visible name.
bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

std::vector<std::string> ParsePathList(std::string_view text) {
    std::vector<std::string> paths;
    while (!text.empty()) {
        // CR and LF are single-byte in code page 932 and never the second
        // byte of a double-byte character, so a byte search is safe.
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (!IsBlank(line)) paths.emplace_back(line);
        if (end == std::string_view::npos) break;
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
    return paths;
}

}  // namespace tovimo
