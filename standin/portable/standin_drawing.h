#pragma once
// A stand-in drawing is a small text file:
//
//   STANDIN-DRAWING
//   FORMAT DXF
//   SOURCE D:\図面\A.dwg
//   TATEGAKI
//
// The first line marks a file the stand-in wrote; FORMAT is the format it was
// saved in, SOURCE the file the drawing had been opened from. Marker lines
// make the open or the commands behave in a chosen way:
//   FAIL      the open fails with a message box
//   SHAPE     the open asks for a missing shape file, then succeeds
//   CONTINUE  the open asks for Enter to continue, then fails
//   TATEGAKI  the font is vertical: -style ends with "縦書き? <N> "
//   HANG      the open stops the window thread for good: AutoCAD hangs
//   CRASH     the open ends the process at once: AutoCAD crashes
// Any readable file opens; lines the stand-in does not know are ignored, so
// an empty file is a plain drawing.
#include <string>
#include <string_view>

namespace tovimo::standin {

inline constexpr const char* DrawingHeader = "STANDIN-DRAWING";

struct StandinDrawing {
    std::string format;  // "DXF", "DWG2000", ...; empty when the file names none
    std::string source;  // empty when the file names none
    bool failsToOpen = false;
    bool missingShape = false;
    bool asksToContinue = false;
    bool verticalText = false;
    bool hangsWhileOpening = false;
    bool crashesWhileOpening = false;
};

StandinDrawing ParseDrawing(std::string_view content);
// The file content; the lines end in CR LF.
std::string FormatDrawing(const StandinDrawing& drawing);

}  // namespace tovimo::standin
