#include "convert/result_check.h"

#include "drawings/path_parts.h"

namespace tovimo {

std::string_view ResultExtension(std::string_view macroSection) {
    if (macroSection == "dwgtodxf") return ".dxf";
    if (macroSection == "dxftodwg") return ".dwg";
    return {};
}

std::string ExpectedResultPath(std::string_view target, std::string_view extension) {
    std::string path(target);
    // The extension is ASCII from its "." on, and a "." is never the trail
    // byte of a double-byte character, so the bytes compare safely.
    const bool hasIt = target.size() >= extension.size() &&
                       LowerCaseAnsi(target.substr(target.size() - extension.size())) ==
                           LowerCaseAnsi(extension);
    if (!hasIt) path += extension;
    return path;
}

bool ResultWritten(const FileStamp& before, const FileStamp& after) {
    // No drawing file is ever empty: an empty one is a write that failed.
    if (!after.exists || after.size == 0) return false;
    if (!before.exists) return true;
    return after.lastWriteTime != before.lastWriteTime || after.size != before.size;
}

bool ResultUpToDate(const FileStamp& drawing, const FileStamp& result) {
    if (!drawing.exists || !result.exists || result.size == 0) return false;
    const std::uint64_t apart = drawing.lastWriteTime > result.lastWriteTime
                                    ? drawing.lastWriteTime - result.lastWriteTime
                                    : result.lastWriteTime - drawing.lastWriteTime;
    return apart <= ResultTimeTolerance;
}

}  // namespace tovimo
