#include "console/path_arguments.h"

#include "console/path_list.h"

namespace tovimo {

bool IsPathListArgument(const std::string& arg) { return arg.size() > 1 && arg[0] == '@'; }

ExpandedPaths ExpandPathArguments(const std::vector<std::string>& given, TextFiles& files) {
    ExpandedPaths expanded;
    std::string emptyList;
    for (const std::string& arg : given) {
        if (!IsPathListArgument(arg)) {
            expanded.paths.push_back(arg);
            continue;
        }
        const std::string file = arg.substr(1);
        const std::optional<std::string> text = files.ReadAll(file);
        if (!text) {
            expanded.error = "図面の一覧ファイルを読めません: " + file;
            expanded.paths.clear();
            return expanded;
        }
        const std::vector<std::string> listed = ParsePathList(*text);
        if (listed.empty() && emptyList.empty()) emptyList = file;
        expanded.paths.insert(expanded.paths.end(), listed.begin(), listed.end());
    }
    // Only lists, and nothing in them: say so, rather than asking for paths
    // that were given.
    if (expanded.paths.empty() && !emptyList.empty())
        expanded.error = "図面の一覧ファイルにパスがありません: " + emptyList;
    return expanded;
}

}  // namespace tovimo
