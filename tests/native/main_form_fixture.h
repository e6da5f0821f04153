#pragma once
// The main window's logic on the in-memory window system, files and settings
// file, with a stand-in AutoCAD installed as "C:\Acad\acad.exe" and the
// program in "C:\Tovimo\".
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake_main_form_host.h"
#include "cp932_text_encoding.h"
#include "fake_message_pump.h"
#include "fake_process_launcher.h"
#include "fake_window_system.h"
#include "manual_run_thread.h"
#include "mainwindow/main_form.h"
#include "memory_file_system.h"
#include "memory_files.h"
#include "memory_profile_file.h"
#include "memory_text_files.h"
#include "standin_drawing.h"
#include "virtual_clock.h"

namespace tovimo::testing {

class MainFormFixture : public ::testing::Test {
protected:
    static constexpr const char* Program = "C:\\Tovimo\\";
    static constexpr const char* Ini = "C:\\Tovimo\\tovimo.ini";
    static constexpr const char* Acad = "C:\\Acad\\acad.exe";

    MainFormFixture() {
        processes.InstallStandin(windows, Acad);
        files.AddFolder("C:\\Tovimo");
    }
    ~MainFormFixture() override {
        EXPECT_EQ(host.callsOffWindowThread, 0) << "the run touched the window from its own thread";
    }

    void SetIni(const std::string& text) { profile.SetText(Ini, text); }

    // FormCreate and the first FormShow at the design place.
    MainForm& Open() {
        form = std::make_unique<MainForm>(
            MainFormPlatform{{windows, clock, pump, processes, encoding}, profile, fileSystem, order,
                             runs, texts},
            host,
            Program);
        form->FormCreate();
        form->FormShow(113, 203, 274, 742);
        return *form;
    }
    void Close() {
        form->FormClose();
        form.reset();
    }

    // What the user does while a run is under way: it happens on the
    // window's thread, not on the run's.
    void AsUser(const std::function<void()>& action) { runs.OnWindowThread(action); }

    // A stand-in drawing.
    void AddDrawing(const std::string& path, const std::string& marker = "") {
        files.AddFile(path, std::string(standin::DrawingHeader) + "\r\nFORMAT DWG2000\r\n" +
                                (marker.empty() ? "" : marker + "\r\n"));
    }
    std::vector<std::string> Typed() const {
        std::vector<std::string> texts;
        for (const auto& t : windows.CopyDataTexts()) texts.push_back(t.text);
        return texts;
    }

    VirtualClock clock;
    MemoryFiles files;
    FakeWindowSystem windows{clock, files};
    FakeProcessLauncher processes{&clock};
    FakeMessagePump pump;
    Cp932TextEncoding encoding;
    MemoryProfileFile profile;
    MemoryFileSystem fileSystem{files};
    Cp932IgnoreCaseOrder order;
    ManualRunThread runs;
    MemoryTextFiles texts{files};
    FakeMainFormHost host{runs};
    std::unique_ptr<MainForm> form;
};

}  // namespace tovimo::testing
