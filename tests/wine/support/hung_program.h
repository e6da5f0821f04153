#pragma once
// A frozen program on the desktop for a test: wine-hung-window started from
// the bin folder, with its top-level window whose thread no longer answers.
#include <string>

#include "platform/win32_api.h"
#include "started_program.h"

namespace tovimo::wine_tests {

class HungProgram {
public:
    explicit HungProgram(const std::string& title = "固まったウィンドウ");
    // Its window, once it is there and has stopped answering; nullptr otherwise.
    HWND Window() const { return window_; }

private:
    StartedProgram program_;
    HWND window_ = nullptr;
};

}  // namespace tovimo::wine_tests
