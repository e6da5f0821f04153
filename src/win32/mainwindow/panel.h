#pragma once
// A plain area of a form that holds controls. It hands what its controls
// report (commands, notifications, colour questions, the context menu) on
// to the form it lies in, so that the form handles all of them in one place.
#include <vector>

#include "platform/win32_api.h"

namespace tovimo::win32 {

// With raisedBevel the panel draws a raised inner and a lowered outer edge.
HWND CreatePanel(HWND parent, int id, bool raisedBevel);

// The etched frames the panel draws around groups of its controls, in its
// client coordinates.
void SetPanelFrames(HWND panel, std::vector<RECT> frames);

// Draws etched frames: the way a form or a panel draws its frames behind
// its controls.
void DrawFrames(HDC dc, const std::vector<RECT>& frames);

}  // namespace tovimo::win32
