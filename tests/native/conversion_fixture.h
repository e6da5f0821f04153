#pragma once
// A DwgDxf on the in-memory window system, the virtual clock and in-memory
// files, with a stand-in AutoCAD installed as "C:\Acad\acad.exe".
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "acad_fixture.h"
#include "convert/dwg_dxf.h"
#include "memory_file_system.h"
#include "memory_profile_file.h"
#include "recording_view.h"
#include "standin_drawing.h"

namespace tovimo::testing {

inline const std::vector<std::string> ToDxfMacro{"open", "#FILE", "saveas", "DXF", "#ENTER", "#SAVEFILE"};
inline constexpr const char* IniPath = "C:\\Tovimo\\tovimo.ini";
inline constexpr const char* EndCaption = "Tovimo メッセージ";
inline constexpr const char* FinishedText = "   作業が終わりました      ";
inline constexpr const char* CanceledText = "   作業を中断しました      ";

class ConversionFixture : public AcadFixture {
protected:
    ConversionFixture() {
        files.AddFolder("C:\\Tovimo");
        converter = std::make_unique<DwgDxf>(Platform(), profile, fileSystem, view, IniPath, "dwgtodxf");
        converter->SetAcadPath(StandinProgram);
        converter->MacroLines = ToDxfMacro;
        settings.CommandWait = 100;
        settings.SaveSameDir = true;
    }

    // A stand-in drawing file.
    void AddDrawing(const std::string& path, const std::string& marker = "") {
        files.AddFile(path, std::string(standin::DrawingHeader) + "\r\nFORMAT DWG2000\r\n" +
                                (marker.empty() ? "" : marker + "\r\n"));
    }

    // Links the converter to an AutoCAD made of test windows, whose command
    // line shows what the test sets.
    void LinkTestWindows(const std::string& commandLineText) {
        converter->MainWindow = windows.AddTopWindow("AutoCAD LT - [Drawing1.dwg]");
        converter->CommandLineWindow = windows.AddChildWindow(converter->MainWindow, commandLineText);
        converter->CompanionWindow = windows.AddChildWindow(converter->MainWindow, "");
        converter->TextWindow = windows.AddTopWindow("AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ");
    }

    ConvertResult Run(const std::vector<std::string>& sources,
                      const std::vector<std::string>& targets = {}) {
        runStart = clock.NowMs();
        return converter->ConvertFiles(sources, targets, settings);
    }

    FakeStandin& Standin() { return *windows.LatestStandin(); }

    // What the run typed, with times from the start of the run.
    std::vector<TimedText> TypedSinceRun() const {
        std::vector<TimedText> typed;
        for (auto t : windows.CopyDataTexts())
            if (t.timeMs >= runStart) typed.push_back({t.timeMs - runStart, t.text});
        return typed;
    }
    std::vector<std::string> TextsSinceRun() const {
        std::vector<std::string> texts;
        for (const auto& t : TypedSinceRun()) texts.push_back(t.text);
        return texts;
    }
    std::vector<std::string> SkippedNames() const {
        std::vector<std::string> names;
        for (const auto& s : converter->LastSkipped()) names.push_back(s.name);
        return names;
    }
    std::string LastMessage() const { return view.messages.empty() ? "" : view.messages.back().first; }

    MemoryProfileFile profile;
    MemoryFileSystem fileSystem{files};
    RecordingView view;
    ConvertSettings settings;
    std::unique_ptr<DwgDxf> converter;
    std::int64_t runStart = 0;
};

}  // namespace tovimo::testing
