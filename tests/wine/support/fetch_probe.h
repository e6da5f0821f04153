#pragma once
// How soon another program's window fetches a posted message: EM_SETSEL is
// posted to one of its edit controls, and EM_GETSEL, sent, shows when the
// new selection has been taken. Posted messages are what a busy window
// thread leaves waiting (clicks, keys, paint, WM_CLOSE); a sent message can
// be answered from inside the thread's own sends and would tell nothing.
#include <optional>

#include "platform/win32_api.h"

namespace tovimo::wine_tests {

class FetchProbe {
public:
    explicit FetchProbe(HWND edit) : edit_(edit) {}
    // Posts a selection other than the last and waits up to limitMs for the
    // window to have taken it; the milliseconds that took, or nothing.
    std::optional<double> Measure(int limitMs);

private:
    HWND edit_;
    bool second_ = false;
};

}  // namespace tovimo::wine_tests
