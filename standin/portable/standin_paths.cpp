#include "standin_paths.h"

#include "text/cp932_text.h"

namespace tovimo::standin {

namespace {

// Byte index just after the last separator, 0 when there is none.
std::size_t FileNameStart(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/' || path[i] == ':') {
            start = i + 1;
        }
    }
    return start;
}

// Byte index of the last "." of a file name, npos when none.
std::size_t LastDot(std::string_view name) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(name[i]))) ++i;
        else if (name[i] == '.') dot = i;
    }
    return dot;
}

}  // namespace

std::string FileNameOf(std::string_view path) { return std::string(path.substr(FileNameStart(path))); }

std::string StemOf(std::string_view fileName) {
    return std::string(fileName.substr(0, LastDot(fileName)));
}

std::string WithoutExtension(std::string_view path) {
    const std::size_t start = FileNameStart(path);
    return std::string(path.substr(0, start)) + StemOf(path.substr(start));
}

}  // namespace tovimo::standin
