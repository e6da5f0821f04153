#pragma once
// The stand-in AutoCAD: everything it does, apart from its host. It shows the
// windows Tovimo looks for, takes typed input, shows prompts, opens and saves
// stand-in drawings, shows its message boxes and dialogs, and writes a log.
// It runs on one thread; the host calls it for input, button presses and
// timers, and it calls the host for everything it does to the system.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standin_drawing.h"
#include "standin_host.h"
#include "standin_log.h"
#include "standin_options.h"
#include "standin_texts.h"

namespace tovimo::standin {

// Window classes. The command line and the history line share one class.
inline constexpr const char* FrameClass = "StandinAcadFrame";
inline constexpr const char* TextWindowClass = "StandinAcadTextWindow";
inline constexpr const char* DrawingViewClass = "StandinAcadView";
inline constexpr const char* CommandBarClass = "StandinAcadCommandBar";
inline constexpr const char* CommandLineClass = "StandinAcadCommandLine";
inline constexpr const char* DialogTextClass = "Static";

class StandinAcad {
public:
    StandinAcad(StandinHost& host, StandinOptions options);
    ~StandinAcad();
    StandinAcad(const StandinAcad&) = delete;
    StandinAcad& operator=(const StandinAcad&) = delete;

    // Begins: the windows appear after the start-up delay.
    void Start();

    // From the host.
    void OnCopyData(std::uint32_t dwData, const void* data, std::uint32_t cbData);
    void OnNull();
    void OnButtonPressed(WindowId button);
    void OnTimer(int id);
    // WM_CLOSE on the main window: as the command quit.
    void OnCloseRequested();

    // What the tests look at.
    const StandinOptions& Options() const { return options_; }
    const StandinTexts& Texts() const { return texts_; }
    bool Running() const { return stage_ == Stage::Running; }
    bool Ended() const { return stage_ == Stage::Ended; }
    bool Busy() const { return busyTimer_ != 0; }
    WindowId MainWindow() const { return mainWindow_; }
    WindowId CommandLineWindow() const { return commandLine_; }
    WindowId HistoryWindow() const { return historyLine_; }
    WindowId TextWindow() const { return textWindow_; }
    // The dialog or message box on show, 0 when none.
    WindowId DialogWindow() const { return dialog_ ? dialog_->window : 0; }
    const std::string& CommandLineText() const { return shownCommandLine_; }
    const std::string& PromptText() const { return prompt_.text; }
    // The current value, empty for a variable the stand-in does not know.
    std::string SysVar(std::string_view name) const;
    bool DrawingChanged() const { return drawing_.changed; }
    const std::string& DrawingName() const { return drawing_.name; }
    const std::string& DrawingPath() const { return drawing_.path; }
    // The drawings open: the current one and those an OPEN left open beside it.
    int OpenDocuments() const { return documents_; }

private:
    enum class Stage { Created, Starting, Running, Ended };

    using LineHandler = std::function<void(const std::string& line)>;
    struct Prompt {
        std::string text;
        LineHandler onEnter;
        bool isCommandPrompt = false;
    };
    struct Button {
        WindowId window = 0;
        std::string caption;
        std::function<void()> action;
    };
    struct Dialog {
        WindowId window = 0;
        std::string title;
        std::vector<Button> buttons;
    };
    struct SystemVariable {
        std::string name;
        int value;
        int minimum;
        int maximum;
    };
    struct CurrentDrawing {
        std::string name;    // shown in the titles
        std::string path;    // empty for the unnamed drawing
        std::string source;  // the file it was opened from
        bool changed = false;
        bool missingShape = false;
        bool verticalText = false;
    };

    // The text of a WM_COPYDATA, up to its first zero, in code page 932.
    // rightCbData: the cbData a sender of that text gives, when the
    // stand-in checks it (Unicode); left as it was otherwise.
    std::string CopyDataText(const void* data, std::uint32_t cbData, std::int64_t& rightCbData);

    // The log.
    void Log(std::string_view kind, const std::vector<LogField>& fields = {});

    // Windows and what they show.
    void CreateWindows();
    void ShowPrompt(std::string text, LineHandler onEnter);
    void ShowCommandPrompt();
    void ShowMessage(const std::string& text);
    void RefreshCommandLine();
    void SetCommandLineText(const std::string& text);
    void UpdateTitles();
    void ShowDialog(const std::string& title, const std::string& text, std::vector<Button> buttons);
    void CloseDialog();
    void DestroyAllWindows();

    // Input.
    void Pump();
    void PressEnter();
    void PressEscape();
    void TakeByte(char byte);
    void RunAfter(int delayMs, std::string_view what, std::function<void()> then);

    // Commands.
    void RunCommand(const std::string& line);
    SystemVariable* FindSysVar(std::string_view name);
    void AskSysVar(SystemVariable& variable);
    bool SdiMayBecome(int value);
    void SetVar();
    void Open();
    void OpenFile(const std::string& path);
    void ReadDrawing(const std::string& path);
    void FailOpen(const std::string& path);
    void AskShape(const std::string& path, const StandinDrawing& drawing);
    void AskContinue(const std::string& path);
    void FinishOpen(const std::string& path, const StandinDrawing& drawing);
    void SaveAs();
    void AskSaveFormat();
    void AskPrecision(const std::string& format);
    void AskSaveName(const std::string& format);
    void AskOverwrite(const std::string& target, const std::string& format);
    void WriteDrawing(const std::string& target, const std::string& format,
                      std::function<void(bool written)> then);
    void Line();
    void NextPoint(int pointsGiven);
    void Style();
    void StyleStep(std::size_t step, const std::string& styleName);
    void FinishStyle(const std::string& styleName);
    void Quit();
    void SaveBeforeQuit();
    void EndProcess();

    StandinHost& host_;
    StandinOptions options_;
    StandinTexts texts_;
    Stage stage_ = Stage::Created;

    WindowId mainWindow_ = 0;
    WindowId commandLine_ = 0;
    WindowId historyLine_ = 0;
    WindowId textWindow_ = 0;
    WindowId transcript_ = 0;
    std::string shownCommandLine_;
    std::optional<Dialog> dialog_;

    Prompt prompt_;
    std::string typed_;
    std::string pending_;  // input not taken yet: it came while AutoCAD was busy
    bool pumping_ = false;

    int startTimer_ = 0;
    int busyTimer_ = 0;
    std::function<void()> afterBusy_;

    std::vector<SystemVariable> sysVars_;
    CurrentDrawing drawing_;
    int documents_ = 1;
};

}  // namespace tovimo::standin
