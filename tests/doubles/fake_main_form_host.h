#pragma once
// A main window host that records what the logic showed and answers its
// questions as the test sets.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/main_form.h"
#include "manual_run_thread.h"

namespace tovimo::testing {

class FakeMainFormHost : public MainFormHost {
public:
    explicit FakeMainFormHost(const ManualRunThread& thread) : thread_(thread) {}

    DrawingKind AskFileType() override {
        Called();
        ++fileTypeQuestions;
        return fileTypeAnswer;
    }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        Called();
        messages.emplace_back(text, caption);
        if (onMessage) onMessage(text);
    }
    int AddFileIcon(const std::string& path) override {
        Called();
        iconLookups.push_back(path);
        return nextIconIndex++;
    }
    bool GetChildFolderChecked() override {
        Called();
        return childFolders;
    }

    void EnableCancel(bool enabled) override {
        Called();
        cancelStates.push_back(enabled);
    }
    void SetProgressRange(int maximum) override {
        Called();
        ranges.push_back(maximum);
    }
    void SetProgressPosition(int position) override {
        Called();
        positions.push_back(position);
    }
    void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) override {
        Called();
        skippedShown.push_back(skipped);
        titleWhenListed = runStatuses.empty() ? "" : runStatuses.back();
    }
    std::optional<std::string> ChooseAcadProgram(const std::string& current) override {
        Called();
        programDialogStart = current;
        return chosenProgram;
    }
    bool BrowseFolder(const std::string& title, const std::string& rootName,
                      std::string& folder) override {
        Called();
        browseCalls.push_back({title, rootName, folder});
        if (browseAnswer) {
            folder = *browseAnswer;
            return true;
        }
        // A cancel leaves the start folder when it exists, else nothing.
        if (!startFolderExists) folder.clear();
        return false;
    }
    void ShowRunStatus(const std::string& text) override {
        Called();
        runStatuses.push_back(text);
    }
    void StateChanged() override {
        Called();
        ++stateChanges;
    }
    void CloseWindow() override {
        Called();
        ++closeRequests;
    }
    void ShowAbout() override {
        Called();
        ++aboutShown;
    }
    void OpenFolder(const std::string& folder) override {
        Called();
        foldersOpened.push_back(folder);
    }

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
    std::string titleWhenListed;  // the last run status when the list was shown
    std::optional<std::string> chosenProgram;
    std::string programDialogStart;
    struct BrowseCall {
        std::string title, rootName, folder;
    };
    std::vector<BrowseCall> browseCalls;
    std::optional<std::string> browseAnswer;
    bool startFolderExists = true;
    int stateChanges = 0;
    std::vector<std::string> runStatuses;
    int closeRequests = 0;
    int aboutShown = 0;
    std::vector<std::string> foldersOpened;
    // Calls that reached the window from the run's thread: each would touch
    // a window from a thread that does not own it.
    int callsOffWindowThread = 0;

private:
    void Called() {
        if (!thread_.OnWindow()) ++callsOffWindowThread;
    }
    const ManualRunThread& thread_;
};

}  // namespace tovimo::testing
