#include "standin_drawing.h"

#include <algorithm>

namespace tovimo::standin {

namespace {

std::string_view TrimLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    return line;
}

bool TakeKey(std::string_view line, std::string_view key, std::string& value) {
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ' ')
        return false;
    value = std::string(TrimLine(line.substr(key.size() + 1)));
    return true;
}

}  // namespace

StandinDrawing ParseDrawing(std::string_view content) {
    StandinDrawing drawing;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        const std::string_view line = TrimLine(content.substr(start, end - start));
        start = end + 1;
        if (line == "FAIL") drawing.failsToOpen = true;
        else if (line == "SHAPE") drawing.missingShape = true;
        else if (line == "CONTINUE") drawing.asksToContinue = true;
        else if (line == "TATEGAKI") drawing.verticalText = true;
        else if (line == "HANG") drawing.hangsWhileOpening = true;
        else if (line == "CRASH") drawing.crashesWhileOpening = true;
        else if (TakeKey(line, "FORMAT", drawing.format)) continue;
        else TakeKey(line, "SOURCE", drawing.source);
    }
    return drawing;
}

std::string FormatDrawing(const StandinDrawing& drawing) {
    std::string content = std::string(DrawingHeader) + "\r\n";
    if (!drawing.format.empty()) content += "FORMAT " + drawing.format + "\r\n";
    if (!drawing.source.empty()) content += "SOURCE " + drawing.source + "\r\n";
    if (drawing.failsToOpen) content += "FAIL\r\n";
    if (drawing.missingShape) content += "SHAPE\r\n";
    if (drawing.asksToContinue) content += "CONTINUE\r\n";
    if (drawing.verticalText) content += "TATEGAKI\r\n";
    if (drawing.hangsWhileOpening) content += "HANG\r\n";
    if (drawing.crashesWhileOpening) content += "CRASH\r\n";
    return content;
}

}  // namespace tovimo::standin
