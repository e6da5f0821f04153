#pragma once
// What a conversion run shows on the console: one line per drawing as it
// starts, the drawings not converted with their reasons, and the end message.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console/console_output.h"
#include "convert/conversion_view.h"
#include "drawings/walk_problem.h"

namespace tovimo {

class ConsoleView : public ConversionView {
public:
    explicit ConsoleView(ConsoleOutput& output) : output_(output) {}

    // Until AutoCAD has been reached, a message can only be a refusal and
    // goes to standard error; from then on the run's messages go to
    // standard output.
    void ShowMessage(const std::string& text, const std::string& caption) override;
    // Disabling marks the run's end: what the collection could not reach is
    // listed then, before the end message, if the run has not listed it.
    void EnableCancel(bool enabled) override;
    void SetProgressRange(int maximum) override { total_ = maximum; }
    void SetProgressPosition(int) override {}
    // "[i/N] source", i counting from 1.
    void DrawingStarting(int index, const std::string& source) override;
    void DrawingEnded(int index, const std::string& source, std::optional<SkipReason> reason,
                      const std::string& acadShown) override {
        if (onDrawingEnded) onDrawingEnded(index, source, reason, acadShown);
    }
    // One line on standard error, so that a log of the error output tells
    // every restart.
    void AcadRestarting(int number, RestartCause cause) override;
    // On standard error too.
    void AcadEndedUnstarted(int session, int left) override;
    // One line on standard error, as a restart is told.
    void SingleDocumentRefused() override;
    // The drawings the run skipped, each with what AutoCAD showed about it
    // indented below, and after them what the collection could not reach,
    // as one list.
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override;

    // What the collection could not reach, listed with the drawings not
    // converted at the end of the run.
    void SetUnreachable(std::vector<WalkProblem> unreachable) {
        unreachable_ = std::move(unreachable);
    }
    // Lists what the collection could not reach, unless the run has listed
    // it already: a run that skipped no drawing shows no list of its own.
    void ListUnreachable();
    // How many drawings of the run were begun: those after them were never
    // reached.
    std::size_t DrawingsStarted() const { return started_; }

    // Called as each drawing starts and ends (the run log).
    std::function<void(int index)> onDrawingStarting;
    std::function<void(int index, const std::string& source, std::optional<SkipReason> reason,
                       const std::string& acadShown)>
        onDrawingEnded;

private:
    void ListLine(const std::string& path, const char* reason);

    ConsoleOutput& output_;
    std::vector<WalkProblem> unreachable_;
    bool unreachableListed_ = false;
    bool acadReached_ = false;
    int total_ = 0;
    std::size_t started_ = 0;
};

}  // namespace tovimo
