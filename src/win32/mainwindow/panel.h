#pragma once
// A plain area of a form that holds controls. It hands what its controls
// report (commands, notifications, colour questions, the context menu) on
// to the form it lies in, so that the form handles all of them in one place.
#include "platform/win32_api.h"

namespace tovimo::win32 {

// With raisedBevel the panel draws a raised inner and a lowered outer edge.
HWND CreatePanel(HWND parent, int id, bool raisedBevel);

}  // namespace tovimo::win32
