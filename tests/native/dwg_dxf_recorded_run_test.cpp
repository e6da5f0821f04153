// One AutoCAD, as runs have always been: the stand-in's whole log of a
// representative run (its start, every text typed with its time, the
// prompts, dialogs, reads and writes) and the program starts, compared with
// a log recorded before several sessions existed. Setting
// TOVIMO_RECORD_RUN_LOG=1 writes the file anew instead of comparing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "conversion_fixture.h"

#ifndef TOVIMO_TEST_DATA_DIR
#error "TOVIMO_TEST_DATA_DIR must name tests/native/data"
#endif

namespace tovimo::testing {
namespace {

const char* LaunchKindName(LaunchKind kind) {
    switch (kind) {
        case LaunchKind::CreateProcess: return "create-process";
        case LaunchKind::ShellOpen: return "shell-open";
        case LaunchKind::StartHidden: return "start-hidden";
    }
    return "?";
}

class RecordedRun : public ConversionFixture {
protected:
    // Drawings that open, one that fails to open, one whose result exists
    // (the overwrite question), one with a missing shape file; tmp.dwg saved,
    // DYN off, AutoCAD closed at the end, a slow open and save.
    std::string RunAndLog() {
        files.AddFolder("D:\\図面");
        AddDrawing("D:\\図面\\A.dwg");
        AddDrawing("D:\\図面\\B.dwg", "FAIL");
        AddDrawing("D:\\図面\\C.dwg");
        files.AddFile("D:\\図面\\C.dxf", "old result");
        AddDrawing("D:\\図面\\D.dwg", "SHAPE");
        AddDrawing("D:\\図面\\E.dwg");
        settings.CommandWait = 100;
        settings.Rewite = true;
        settings.SaveTmpdwg = true;
        settings.DYNCancel = true;
        settings.AcadClose = true;
        settings.AcadArg = "/opendelay:300 /savedelay:150 /cmddelay:20";
        const auto result = Run({"D:\\図面\\A.dwg", "D:\\図面\\B.dwg", "D:\\図面\\C.dwg",
                                 "D:\\図面\\D.dwg", "D:\\図面\\E.dwg"});
        std::ostringstream log;
        log << "result " << result << "\n";
        for (const auto& call : processes.Calls())
            log << call.timeMs << " " << LaunchKindName(call.kind) << " \"" << call.argument
                << "\"\n";
        for (const auto* standin : windows.Standins())
            for (const auto& line : standin->LogLines()) log << line << "\n";
        for (const auto& skipped : converter->LastSkipped())
            log << "skipped \"" << skipped.path << "\" " << static_cast<int>(skipped.reason)
                << "\n";
        for (const auto& [text, caption] : view.messages)
            log << "message \"" << text << "\" \"" << caption << "\"\n";
        log << "end " << clock.NowMs() << "\n";
        return log.str();
    }
};

TEST_F(RecordedRun, OneAutoCadTypesWhatItAlwaysTyped) {
    const std::string path = std::string(TOVIMO_TEST_DATA_DIR) + "/one_acad_run.log";
    const std::string log = RunAndLog();
    const char* record = std::getenv("TOVIMO_RECORD_RUN_LOG");
    if (record != nullptr && std::string(record) == "1") {
        std::ofstream(path, std::ios::binary) << log;
        GTEST_SKIP() << "recorded " << path;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::ostringstream recorded;
    recorded << in.rdbuf();
    EXPECT_EQ(log, recorded.str());
}

}  // namespace
}  // namespace tovimo::testing
