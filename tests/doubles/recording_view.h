#pragma once
// A ConversionView that records what a run showed, in order.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "convert/conversion_view.h"

namespace tovimo::testing {

class RecordingView : public ConversionView {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
    }
    void EnableCancel(bool enabled) override { cancelStates.push_back(enabled); }
    void SetProgressRange(int maximum) override { ranges.push_back(maximum); }
    void SetProgressPosition(int position) override { positions.push_back(position); }
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override {
        skippedShown.push_back(skipped);
    }
    void DrawingEnded(int index, const std::string&, std::optional<SkipReason> reason,
                      const std::string& acadShown) override {
        ended.emplace_back(index, reason);
        shown.push_back(acadShown);
    }
    void AcadRestarting(int number, RestartCause cause) override {
        restarts.emplace_back(number, cause);
        if (onRestarting) onRestarting(number, cause);
    }

    void AcadEndedUnstarted(int session, int left) override { unstarted.emplace_back(session, left); }
    void SingleDocumentRefused() override { ++singleDocumentRefusals; }

    std::function<void(int, RestartCause)> onRestarting;

    std::vector<std::pair<std::string, std::string>> messages;  // text, caption
    std::vector<bool> cancelStates;
    std::vector<int> ranges;
    std::vector<int> positions;
    std::vector<std::vector<SkippedDrawing>> skippedShown;
    std::vector<std::pair<int, std::optional<SkipReason>>> ended;  // index, reason
    std::vector<std::string> shown;  // what AutoCAD showed, per ended drawing
    std::vector<std::pair<int, RestartCause>> restarts;              // number, cause
    std::vector<std::pair<int, int>> unstarted;                      // session, left
    int singleDocumentRefusals = 0;
};

}  // namespace tovimo::testing
