#pragma once
// Where the main window's panels go in its client area: the settings panel
// (when shown) along the bottom, the strip with the progress bar above it,
// and the tree with the column of buttons taking the rest.
#include "mainwindow/form_scale.h"

namespace tovimo {

struct MainFormLayout {
    DesignRect Panel3;        // holds the tree, which fills it
    DesignRect Panel4;        // the column of buttons
    DesignRect Panel1;        // the strip
    DesignRect ProgressBar1;  // inside Panel1
    DesignRect Panel2;        // the settings panel; empty when hidden
};

// All values in the display's pixels; clientWidth and clientHeight are the
// client area's, dpi the window's.
MainFormLayout LayOutMainForm(int clientWidth, int clientHeight, bool settingsVisible, int dpi);

// The height the window changes by when the settings panel opens or closes.
int SettingsStep(int dpi);

// A window rectangle (left, top, width, height) pulled onto a screen whose
// work area is given: moved (never resized, unless larger than the work
// area) so that it lies wholly inside.
DesignRect PullOntoScreen(const DesignRect& window, const DesignRect& workArea);

}  // namespace tovimo
