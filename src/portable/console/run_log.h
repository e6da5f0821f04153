#pragma once
// The run log of TovimoCmd (/log FILE): a new CSV file for each run, in
// UTF-8 with a BOM so that Excel on a Japanese Windows opens it as it is,
// one line per drawing written as the drawing ends:
//   番号,図面,変換後,結果,理由,秒,AutoCADの表示
// Each line is added to the file on its own, so the lines written stay even
// when the program itself ends abruptly. A line that cannot be added (another
// program holds the file, as Excel does while it shows it) is kept and added
// before the next, so the lines keep their order.
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/text_files.h"

namespace tovimo {

enum class LogStatus { Converted, NotConverted, PassedOver };

class RunLog {
public:
    RunLog(TextFiles& files, Clock& clock, std::string path)
        : files_(files), clock_(clock), path_(std::move(path)) {}

    // Makes the file anew with its header; false when it cannot be written.
    bool Begin();
    // number counts from 1 in the run's order; texts in code page 932.
    // acadShown: what AutoCAD last showed about a drawing not converted.
    void Drawing(std::size_t number, const std::string& source, const std::string& result,
                 LogStatus status, const std::string& reason, double seconds,
                 const std::string& acadShown = {});
    // At the run's end: the lines not written yet are tried again every
    // RetryMs until RetryLimitMs have passed. Gives those never written, in
    // code page 932 without their line ends; empty when the log is whole.
    std::vector<std::string> Finish();

    const std::string& Path() const { return path_; }

    static constexpr int RetryMs = 500;
    static constexpr int RetryLimitMs = 10000;

private:
    // Adds the kept lines, all or none; false when they are still kept.
    bool WriteKept();

    TextFiles& files_;
    Clock& clock_;
    std::string path_;
    std::vector<std::string> kept_;  // not written yet, in order, code page 932
};

// One CSV field: quoted when it holds a comma, a quote or a line end, the
// quotes inside doubled.
std::string CsvField(const std::string& text);

}  // namespace tovimo
