#pragma once
// A main window host that records what the logic showed and answers its
// questions as the test sets.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/main_form.h"

namespace tovimo::testing {

class FakeMainFormHost : public MainFormHost {
public:
    DrawingKind AskFileType() override {
        ++fileTypeQuestions;
        return fileTypeAnswer;
    }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
        if (onMessage) onMessage(text);
    }
    int AddFileIcon(const std::string& path) override {
        iconLookups.push_back(path);
        return nextIconIndex++;
    }
    bool GetChildFolderChecked() override { return childFolders; }

    void EnableCancel(bool enabled) override { cancelStates.push_back(enabled); }
    void SetProgressRange(int maximum) override { ranges.push_back(maximum); }
    void SetProgressPosition(int position) override { positions.push_back(position); }
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override {
        skippedShown.push_back(skipped);
    }
    std::optional<std::string> ChooseAcadProgram(const std::string& current) override {
        programDialogStart = current;
        return chosenProgram;
    }
    bool BrowseFolder(const std::string& title, const std::string& rootName,
                      std::string& folder) override {
        browseCalls.push_back({title, rootName, folder});
        if (browseAnswer) {
            folder = *browseAnswer;
            return true;
        }
        // A cancel leaves the start folder when it exists, else nothing.
        if (!startFolderExists) folder.clear();
        return false;
    }
    void StateChanged() override { ++stateChanges; }
    void CloseWindow() override { ++closeRequests; }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : messages) texts.push_back(message.first);
        return texts;
    }

    DrawingKind fileTypeAnswer = DrawingKind::Dxf;
    int fileTypeQuestions = 0;
    bool childFolders = false;
    int nextIconIndex = 1;
    std::vector<std::string> iconLookups;
    std::vector<std::pair<std::string, std::string>> messages;  // text, caption
    std::function<void(const std::string&)> onMessage;
    std::vector<bool> cancelStates;
    std::vector<int> ranges;
    std::vector<int> positions;
    std::vector<std::vector<SkippedDrawing>> skippedShown;
    std::optional<std::string> chosenProgram;
    std::string programDialogStart;
    struct BrowseCall {
        std::string title, rootName, folder;
    };
    std::vector<BrowseCall> browseCalls;
    std::optional<std::string> browseAnswer;
    bool startFolderExists = true;
    int stateChanges = 0;
    int closeRequests = 0;
};

}  // namespace tovimo::testing
