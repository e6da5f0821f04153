#pragma once
// The drawings of a run that were not converted, for the list that /f writes.
#include <cstddef>
#include <string>
#include <vector>

#include "convert/skipped_drawing.h"

namespace tovimo {

// In the run's order: the drawings that were skipped, and the drawings the
// run never reached (it was cancelled, lost AutoCAD or never started, so
// only the first `started` drawings were begun).
std::vector<std::string> NotConvertedPaths(const std::vector<std::string>& sources,
                                           std::size_t started,
                                           const std::vector<SkippedDrawing>& skipped);

}  // namespace tovimo
