#include "console/not_converted.h"

#include <set>

namespace tovimo {

std::vector<std::string> NotConvertedPaths(const std::vector<std::string>& sources,
                                           std::size_t started,
                                           const std::vector<SkippedDrawing>& skipped) {
    std::set<std::string> skippedPaths;
    for (const SkippedDrawing& drawing : skipped) skippedPaths.insert(drawing.path);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < sources.size(); ++i)
        if (i >= started || skippedPaths.count(sources[i]) != 0) paths.push_back(sources[i]);
    return paths;
}

}  // namespace tovimo
