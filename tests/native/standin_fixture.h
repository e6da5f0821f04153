#pragma once
// A stand-in AutoCAD in the in-memory window system, typed into the way
// Tovimo types: WM_COPYDATA with dwData 1 and a zero-terminated text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_window_system.h"
#include "memory_files.h"
#include "standin_drawing.h"
#include "text/cp932_text.h"
#include "virtual_clock.h"

namespace tovimo::testing {

class StandinTest : public ::testing::Test {
protected:
    FakeStandin& Start(const std::vector<std::string>& arguments = {}) {
        standin = &windows.StartStandin(arguments);
        return *standin;
    }
    void Type(const std::string& text) {
        windows.SendCopyData(standin->MainWindow(), 1, text.c_str(),
                             static_cast<std::uint32_t>(text.size() + 1), 1000);
    }
    // What Tovimo reads from the windows.
    std::string CommandLine() const { return windows.TextOf(standin->CommandLineWindow()); }
    std::string History() const { return windows.TextOf(standin->HistoryWindow()); }
    std::string MainTitle() const { return windows.TextOf(standin->MainWindow()); }
    WindowHandle Dialog() const { return standin->DialogWindow(); }
    std::string DialogTitle() const { return windows.TextOf(Dialog()); }
    std::vector<std::string> DialogButtons() const {
        std::vector<std::string> captions;
        for (const WindowHandle child : windows.ChildrenOf(Dialog()))
            if (windows.ClassOf(child) == "Button") captions.push_back(windows.TextOf(child));
        return captions;
    }

    void AddDrawing(const std::string& path, const std::string& markers = "") {
        files.AddFile(path, std::string(standin::DrawingHeader) + "\r\n" + markers);
    }
    standin::StandinDrawing DrawingAt(const std::string& path) const {
        return standin::ParseDrawing(files.ReadFile(path).value_or(""));
    }

    VirtualClock clock;
    MemoryFiles files;
    FakeWindowSystem windows{clock, files};
    FakeStandin* standin = nullptr;
};

}  // namespace tovimo::testing
