#include "mainwindow/main_form_layout.h"

#include <algorithm>

#include "mainwindow/form_design.h"

namespace tovimo {

MainFormLayout LayOutMainForm(int clientWidth, int clientHeight, bool settingsVisible, int dpi) {
    MainFormLayout layout;
    const int width = std::max(clientWidth, 0);
    int bottom = std::max(clientHeight, 0);
    if (settingsVisible) {
        const int height = std::min(ScaleToDpi(main_form::SettingsHeight, dpi), bottom);
        layout.Panel2 = {0, bottom - height, width, height};
        bottom -= height;
    }
    const int stripHeight = std::min(ScaleToDpi(main_form::StripHeight, dpi), bottom);
    layout.Panel1 = {0, bottom - stripHeight, width, stripHeight};
    bottom -= stripHeight;
    const int progressHeight = std::min(ScaleToDpi(main_form::ProgressHeight, dpi), stripHeight);
    layout.ProgressBar1 = {0, stripHeight - progressHeight, width, progressHeight};

    const int columnWidth = std::min(ScaleToDpi(main_form::ColumnWidth, dpi), width);
    layout.Panel4 = {width - columnWidth, 0, columnWidth, bottom};
    layout.Panel3 = {0, 0, width - columnWidth, bottom};
    return layout;
}

int SettingsStep(int dpi) { return ScaleToDpi(main_form::SettingsStep, dpi); }

DesignRect PullOntoScreen(const DesignRect& window, const DesignRect& workArea) {
    DesignRect placed = window;
    placed.width = std::min(window.width, workArea.width);
    placed.height = std::min(window.height, workArea.height);
    placed.left = std::clamp(window.left, workArea.left, workArea.right() - placed.width);
    placed.top = std::clamp(window.top, workArea.top, workArea.bottom() - placed.height);
    return placed;
}

}  // namespace tovimo
