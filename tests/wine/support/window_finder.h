#pragma once
// Finding the windows of a program under test, in this process or another,
// and reading and pressing what they show.
#include <string>
#include <vector>

#include "platform/win32_api.h"

namespace tovimo::wine_tests {

// A visible top-level window of this class that belongs to the process; 0
// when there is none.
HWND VisibleWindow(const char* className, DWORD processId);
// Waits up to timeoutMs for one.
HWND WaitForVisibleWindow(const char* className, DWORD processId, int timeoutMs);
// The descendant of top whose control id is id; 0 when none.
HWND FindControl(HWND top, int id);
// A window's text through WM_GETTEXT, which works across processes.
std::string TextOf(HWND window);
// The texts of a window's Static children, in child order (a message box's
// text is one of them).
std::vector<std::string> StaticTexts(HWND window);
// The lines of a list box, read with the wide messages (the narrow ones do
// not cross processes under Wine) and turned into code page 932.
std::vector<std::string> ListBoxLines(HWND listBox);
// Presses the button with this id in a dialog the way a click does.
void PressButton(HWND dialog, int id);

}  // namespace tovimo::wine_tests
