#include "runlists/same_file.h"

#include <unordered_set>

namespace tovimo {

std::vector<bool> NamedEarlier(FileSystem& files, const std::vector<std::string>& paths) {
    std::vector<bool> earlier(paths.size(), false);
    std::unordered_set<std::string> seen;
    for (std::size_t i = 0; i < paths.size(); ++i)
        earlier[i] = !seen.insert(files.PathKey(paths[i])).second;
    return earlier;
}

}  // namespace tovimo
