#include "acad_on_win32.h"

namespace tovimo::wine_tests {

bool WaitForCommandPrompt(AcadControl& acad, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt)
        if (acad.IsCommandPrompt()) return true;
    return false;
}

}  // namespace tovimo::wine_tests
