#include "drawings/path_parts.h"

#include "text/cp932_text.h"

namespace tovimo {

namespace {

// Calls onCharacter(offset, length) for every character of text, in order.
template <typename OnCharacter>
void ForEachCharacter(std::string_view text, OnCharacter onCharacter) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        const bool lead = IsCp932LeadByte(static_cast<unsigned char>(text[offset]));
        const std::size_t length = (lead && offset + 1 < text.size()) ? 2 : 1;
        onCharacter(offset, length);
        offset += length;
    }
}

// Byte offset just after the last "\" or ":" of path; 0 when there is none.
std::size_t FileNameStart(std::string_view path) {
    std::size_t start = 0;
    ForEachCharacter(path, [&](std::size_t offset, std::size_t length) {
        if (length == 1 && (path[offset] == '\\' || path[offset] == ':')) start = offset + 1;
    });
    return start;
}

// Byte offset of the last "." of the file name of path; npos when none.
// "." is never the trail byte of a character, so a backward search inside
// the file name is safe once the file name has been found.
std::size_t ExtensionStart(std::string_view path) {
    const std::size_t nameStart = FileNameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return std::string_view::npos;
    return dot;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    ForEachCharacter(text, [&](std::size_t, std::size_t) { ++count; });
    return count;
}

std::size_t ByteOffsetOfCharacter(std::string_view text, std::size_t count) {
    std::size_t offset = 0;
    for (std::size_t seen = 0; seen < count && offset < text.size(); ++seen) {
        const bool lead = IsCp932LeadByte(static_cast<unsigned char>(text[offset]));
        offset += (lead && offset + 1 < text.size()) ? 2 : 1;
    }
    return offset;
}

std::string_view FileNameOf(std::string_view path) { return path.substr(FileNameStart(path)); }

std::string_view RemoveExtension(std::string_view path) {
    const std::size_t dot = ExtensionStart(path);
    return dot == std::string_view::npos ? path : path.substr(0, dot);
}

std::string_view ExtensionOf(std::string_view path) {
    const std::size_t dot = ExtensionStart(path);
    return dot == std::string_view::npos ? std::string_view() : path.substr(dot);
}

std::string LowerCaseAnsi(std::string_view text) {
    std::string lower(text);
    ForEachCharacter(text, [&](std::size_t offset, std::size_t length) {
        if (length == 1) lower[offset] = LowerAscii(text[offset]);
    });
    return lower;
}

bool HasLowerCaseExtension(std::string_view path, std::string_view lowerExtension) {
    const std::string_view extension = ExtensionOf(path);
    if (extension.size() != lowerExtension.size()) return false;
    // The extension starts at a character boundary, so a lead byte inside it
    // is followed by its trail byte, which must not be lower-cased.
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char c = extension[i];
        if (IsCp932LeadByte(static_cast<unsigned char>(c)) && i + 1 < extension.size()) {
            if (c != lowerExtension[i] || extension[i + 1] != lowerExtension[i + 1]) return false;
            ++i;
        } else if (LowerAscii(c) != lowerExtension[i]) {
            return false;
        }
    }
    return true;
}

bool EndsWithSeparator(std::string_view text) {
    bool last = false;
    ForEachCharacter(text, [&](std::size_t offset, std::size_t length) {
        last = length == 1 && text[offset] == '\\';
    });
    return last;
}

std::string_view WithoutTrailingSeparators(std::string_view folder) {
    while (EndsWithSeparator(folder)) folder.remove_suffix(1);
    return folder;
}

}  // namespace tovimo
