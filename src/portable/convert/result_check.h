#pragma once
// Whether AutoCAD wrote the result of a drawing. A run whose macro names the
// target ("#SAVEFILE") looks at the file it expects just before that line is
// typed and again after the drawing's last line; only the file's attributes
// are read, never the drawing.
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tovimo {

// The extension AutoCAD gives the results of a macro section: ".dxf" for
// "dwgtodxf", ".dwg" for "dxftodwg"; empty for any other name.
std::string_view ResultExtension(std::string_view macroSection);

// The file AutoCAD writes when it is given target: the target with the
// extension added, unless it ends with it already (in any letter case).
std::string ExpectedResultPath(std::string_view target, std::string_view extension);

// True when the file was written between the two looks: it is there now,
// holds something, and it is new or its last-write time or its size changed.
// A size that changed proves a write even where the last-write time is too
// coarse to show one (FAT keeps it to 2 s).
bool ResultWritten(const FileStamp& before, const FileStamp& after);

// FAT and some file servers keep last-write times in steps of 2 s.
constexpr std::uint64_t ResultTimeTolerance = 2 * FileTimeStepsPerSecond;

// Every run gives a result it counts as converted its drawing's last-write
// time. A result is therefore up to date when it holds something and its
// last-write time is within ResultTimeTolerance of the drawing's: a result
// cut short, or made before its drawing last changed, is not.
bool ResultUpToDate(const FileStamp& drawing, const FileStamp& result);

}  // namespace tovimo
