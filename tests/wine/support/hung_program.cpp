#include "hung_program.h"

#include "test_files.h"
#include "wait_until.h"

namespace tovimo::wine_tests {

HungProgram::HungProgram(const std::string& title)
    : program_("\"" + BinFolder() + "wine-hung-window.exe\" \"" + title + "\"") {
    // Its window counts once a short send to it runs out.
    WaitUntil([&] {
        const HWND found = ::FindWindowA("TovimoHungWindow", title.c_str());
        DWORD_PTR result = 0;
        if (found && ::SendMessageTimeoutA(found, WM_NULL, 0, 0, SMTO_NORMAL, 300, &result) == 0)
            window_ = found;
        return window_ != nullptr;
    }, 15000);
}

}  // namespace tovimo::wine_tests
