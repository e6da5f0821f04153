#include "standin_logs.h"

#include "platform/win32_api.h"

namespace tovimo::wine_tests {

std::string PerProcessLogSwitch(const std::string& folder, const std::string& prefix) {
    return "/log:" + folder + prefix + "{pid}.log";
}

std::vector<StandinLogFile> PerProcessLogs(const std::string& folder, const std::string& prefix) {
    std::vector<StandinLogFile> logs;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((folder + prefix + "*.log").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return logs;
    do {
        logs.emplace_back(folder + found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return logs;
}

}  // namespace tovimo::wine_tests
