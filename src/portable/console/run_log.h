#pragma once
// The run log of TovimoCmd (/log FILE): a new CSV file for each run, in
// UTF-8 with a BOM so that Excel on a Japanese Windows opens it as it is,
// one line per drawing written as the drawing ends:
//   番号,図面,変換後,結果,理由,秒,AutoCADの表示
// Each line is added to the file on its own, so the lines written stay even
// when the program itself ends abruptly.
#include <string>

#include "platform/text_files.h"

namespace tovimo {

enum class LogStatus { Converted, NotConverted, PassedOver };

class RunLog {
public:
    RunLog(TextFiles& files, std::string path) : files_(files), path_(std::move(path)) {}

    // Makes the file anew with its header; false when it cannot be written.
    bool Begin();
    // number counts from 1 in the run's order; texts in code page 932.
    // acadShown: what AutoCAD last showed about a drawing not converted.
    void Drawing(std::size_t number, const std::string& source, const std::string& result,
                 LogStatus status, const std::string& reason, double seconds,
                 const std::string& acadShown = {});

    const std::string& Path() const { return path_; }

private:
    TextFiles& files_;
    std::string path_;
};

// One CSV field: quoted when it holds a comma, a quote or a line end, the
// quotes inside doubled.
std::string CsvField(const std::string& text);

}  // namespace tovimo
