#include "console/run_log.h"

#include <cstdio>

namespace tovimo {

namespace {

constexpr const char* Utf8Bom = "\xEF\xBB\xBF";

const char* StatusText(LogStatus status) {
    switch (status) {
        case LogStatus::Converted: return "変換済";
        case LogStatus::NotConverted: return "未変換";
        case LogStatus::PassedOver: return "省略";
    }
    return "";
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

bool RunLog::Begin() {
    return files_.WriteAll(path_, Utf8Bom + files_.Cp932ToUtf8("番号,図面,変換後,結果,理由,秒,AutoCADの表示\r\n"));
}

void RunLog::Drawing(std::size_t number, const std::string& source, const std::string& result,
                     LogStatus status, const std::string& reason, double seconds,
                     const std::string& acadShown) {
    char time[32];
    std::snprintf(time, sizeof time, "%.1f", seconds < 0 ? 0.0 : seconds);
    kept_.push_back(std::to_string(number) + "," + CsvField(source) + "," + CsvField(result) +
                    "," + StatusText(status) + "," + CsvField(reason) + "," + time + "," +
                    CsvField(acadShown));
    WriteKept();
}

bool RunLog::WriteKept() {
    if (kept_.empty()) return true;
    std::string lines;
    for (const std::string& line : kept_) lines += line + "\r\n";
    if (!files_.Append(path_, files_.Cp932ToUtf8(lines))) return false;
    kept_.clear();
    return true;
}

std::vector<std::string> RunLog::Finish() {
    const std::int64_t start = clock_.NowMs();
    while (!WriteKept() && clock_.NowMs() - start < RetryLimitMs) clock_.Sleep(RetryMs);
    return kept_;
}

}  // namespace tovimo
