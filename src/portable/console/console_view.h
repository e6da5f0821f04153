#pragma once
// What a conversion run shows on the console: one line per drawing as it
// starts, the drawings not converted with their reasons, and the end message.
#include <string>
#include <vector>

#include "console/console_output.h"
#include "convert/conversion_view.h"

namespace tovimo {

class ConsoleView : public ConversionView {
public:
    explicit ConsoleView(ConsoleOutput& output) : output_(output) {}

    // Until AutoCAD has been reached, a message can only be a refusal and
    // goes to standard error; from then on the run's messages go to
    // standard output.
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void EnableCancel(bool enabled) override;
    void SetProgressRange(int maximum) override { total_ = maximum; }
    void SetProgressPosition(int) override {}
    // "[i/N] source", i counting from 1.
    void DrawingStarting(int index, const std::string& source) override;
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override;

    // How many drawings of the run were begun: those after them were never
    // reached.
    std::size_t DrawingsStarted() const { return started_; }

private:
    ConsoleOutput& output_;
    bool acadReached_ = false;
    int total_ = 0;
    std::size_t started_ = 0;
};

}  // namespace tovimo
