// The stand-in's windows, its input and its dialogs. The commands are in
// standin_commands.cpp.
#include "standin_acad.h"

#include <utility>

#include "standin_paths.h"
#include "text/cp932_text.h"

namespace tovimo::standin {

namespace {

constexpr char Enter = '\n';
constexpr char Escape = '\x1b';
constexpr char Backspace = '\b';
constexpr std::uint32_t CommandData = 1;  // the dwData of typed input
constexpr const char* UnnamedDrawing = "Drawing1.dwg";

}  // namespace

StandinAcad::StandinAcad(StandinHost& host, StandinOptions options)
    : host_(host), options_(std::move(options)), texts_(MakeTexts(options_.product, options_.kana)) {
    sysVars_ = {
        {"FILEDIA", 1, 0, 1},  {"ISAVEBAK", 1, 0, 1}, {"PROXYNOTICE", 1, 0, 1},
        {"DYNMODE", 3, -3, 3}, {"CMDECHO", 1, 0, 1},  {"EXPERT", 0, 0, 5},
    };
    // Typed: 0 or 1 only; 2 and 3 are AutoCAD's own.
    if (options_.sdi != StandinOptions::NoSdi) sysVars_.push_back({"SDI", options_.sdi, 0, 1});
    if (options_.drawing.empty()) {
        drawing_.name = UnnamedDrawing;
        drawing_.source = UnnamedDrawing;
    } else {
        drawing_.name = FileNameOf(options_.drawing);
        drawing_.path = options_.drawing;
        drawing_.source = options_.drawing;
    }
    drawing_.changed = options_.changedFromStart;
}

StandinAcad::~StandinAcad() = default;

void StandinAcad::Log(std::string_view kind, const std::vector<LogField>& fields) {
    host_.AppendLog(FormatLogLine(host_.NowMs(), kind, fields));
}

// ---- start ------------------------------------------------------------------

void StandinAcad::Start() {
    if (stage_ != Stage::Created) return;
    stage_ = Stage::Starting;
    Log("start", {LogText(texts_.productName),
                  LogText(options_.kana == KanaForm::HalfWidth ? "halfwidth" : "fullwidth"),
                  LogNumber(options_.startupDialog ? 1 : 0), LogNumber(options_.startDelayMs),
                  LogNumber(options_.commandDelayMs), LogNumber(options_.openDelayMs),
                  LogNumber(options_.saveDelayMs), LogText(options_.drawing),
                  LogNumber(host_.ProcessId())});
    for (const auto& argument : options_.ignored) Log("ignored-option", {LogText(argument)});
    if (options_.unicode) Log("unicode");
    if (options_.startDelayMs > 0) startTimer_ = host_.StartTimer(options_.startDelayMs);
    else CreateWindows();
}

void StandinAcad::CreateWindows() {
    // The drawing it was started with only gives its name and its markers;
    // a file that cannot be read leaves the name in the title all the same.
    if (!drawing_.path.empty()) {
        if (auto content = host_.ReadFile(drawing_.path)) {
            Log("read", {LogText(drawing_.path)});
            const StandinDrawing markers = ParseDrawing(*content);
            drawing_.missingShape = markers.missingShape;
            drawing_.verticalText = markers.verticalText;
        } else {
            Log("read-failed", {LogText(drawing_.path)});
        }
    }

    auto logWindow = [this](WindowId window, const char* className, const std::string& text) {
        Log("window", {LogNumber(static_cast<std::int64_t>(window)), LogText(className), LogText(text)});
        return window;
    };
    const std::string mainTitle = texts_.MainTitle(drawing_.name);
    mainWindow_ = logWindow(host_.CreateFrameWindow(FrameClass, mainTitle), FrameClass, mainTitle);
    logWindow(host_.CreateChildWindow(mainWindow_, DrawingViewClass, drawing_.name), DrawingViewClass,
              drawing_.name);
    const WindowId bar = logWindow(host_.CreateChildWindow(mainWindow_, CommandBarClass, ""),
                                   CommandBarClass, "");
    // The prompt line first, the history line after it: both of one class.
    commandLine_ = logWindow(host_.CreateChildWindow(bar, CommandLineClass, ""), CommandLineClass, "");
    historyLine_ = logWindow(host_.CreateChildWindow(bar, CommandLineClass, texts_.welcome),
                             CommandLineClass, texts_.welcome);

    // The text window is not owned by the main window, and its history line
    // starts with the command word too.
    const std::string textTitle = texts_.TextWindowTitle(drawing_.name);
    textWindow_ = logWindow(host_.CreateFrameWindow(TextWindowClass, textTitle), TextWindowClass, textTitle);
    transcript_ = logWindow(host_.CreateChildWindow(textWindow_, CommandLineClass, texts_.commandPrompt),
                            CommandLineClass, texts_.commandPrompt);

    stage_ = Stage::Running;
    if (options_.startupDialog) {
        auto toCommandPrompt = [this] { ShowCommandPrompt(); };
        ShowDialog(texts_.startupTitle, "",
                   {{0, fixed::Ok, toCommandPrompt}, {0, texts_.startupCancel, toCommandPrompt}});
    } else {
        ShowCommandPrompt();
    }
}

// ---- what the windows show ----------------------------------------------------

void StandinAcad::ShowPrompt(std::string text, LineHandler onEnter) {
    prompt_ = Prompt{std::move(text), std::move(onEnter), false};
    typed_.clear();
    Log("prompt", {LogText(prompt_.text)});
    RefreshCommandLine();
}

void StandinAcad::ShowCommandPrompt() {
    ShowPrompt(texts_.commandPrompt, [this](const std::string& line) { RunCommand(line); });
    prompt_.isCommandPrompt = true;
}

void StandinAcad::ShowMessage(const std::string& text) {
    host_.SetText(historyLine_, text);
    Log("message", {LogText(text)});
}

// Busy, or a dialog on show: the command line shows no prompt at all.
void StandinAcad::RefreshCommandLine() {
    if (stage_ != Stage::Running) return;
    SetCommandLineText(Busy() || dialog_ ? std::string() : prompt_.text + typed_);
}

void StandinAcad::SetCommandLineText(const std::string& text) {
    if (text == shownCommandLine_) return;
    shownCommandLine_ = text;
    host_.SetText(commandLine_, text);
}

void StandinAcad::UpdateTitles() {
    host_.SetText(mainWindow_, texts_.MainTitle(drawing_.name));
    host_.SetText(textWindow_, texts_.TextWindowTitle(drawing_.name));
}

void StandinAcad::ShowDialog(const std::string& title, const std::string& text, std::vector<Button> buttons) {
    Dialog dialog;
    dialog.window = host_.CreateDialogWindow(mainWindow_, title);
    dialog.title = title;
    if (!text.empty()) host_.CreateChildWindow(dialog.window, DialogTextClass, text);
    std::vector<LogField> fields{LogText(title)};
    for (auto& button : buttons) {
        button.window = host_.CreateButton(dialog.window, button.caption);
        fields.push_back(LogText(button.caption));
    }
    dialog.buttons = std::move(buttons);
    dialog_ = std::move(dialog);
    Log("dialog", fields);
    RefreshCommandLine();
}

void StandinAcad::CloseDialog() {
    if (!dialog_) return;
    const Dialog dialog = std::move(*dialog_);
    dialog_.reset();
    host_.DestroyWindow(dialog.window);
    Log("closed", {LogText(dialog.title)});
}

void StandinAcad::OnButtonPressed(WindowId button) {
    if (stage_ != Stage::Running || !dialog_) return;
    for (const auto& candidate : dialog_->buttons) {
        if (candidate.window != button) continue;
        Log("pressed", {LogText(dialog_->title), LogText(candidate.caption)});
        const auto action = candidate.action;
        CloseDialog();
        action();
        Pump();
        return;
    }
}

void StandinAcad::DestroyAllWindows() {
    CloseDialog();
    host_.DestroyWindow(textWindow_);
    host_.DestroyWindow(mainWindow_);
    mainWindow_ = commandLine_ = historyLine_ = textWindow_ = transcript_ = 0;
}

// ---- input --------------------------------------------------------------------

void StandinAcad::OnCopyData(std::uint32_t dwData, const void* data, std::uint32_t cbData) {
    std::int64_t rightCbData = cbData;
    const std::string text = CopyDataText(data, cbData, rightCbData);
    Log("copydata", {LogNumber(dwData), LogNumber(cbData), LogText(text)});
    if (rightCbData != cbData) Log("bad-cbdata", {LogNumber(cbData), LogNumber(rightCbData)});
    if (stage_ != Stage::Running) return;
    if (dwData != CommandData) {
        Log("ignored", {LogText("dwData"), LogText(text)});
        return;
    }
    if (dialog_) {
        // A modal dialog has the keyboard: the command line takes nothing.
        Log("ignored", {LogText("dialog"), LogText(text)});
        return;
    }
    pending_ += text;
    Pump();
}

std::string StandinAcad::CopyDataText(const void* data, std::uint32_t cbData,
                                      std::int64_t& rightCbData) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes) cbData = 0;
    if (!options_.unicode) {
        std::size_t length = 0;
        while (length < cbData && bytes[length] != 0) ++length;
        return std::string(reinterpret_cast<const char*>(bytes), length);
    }
    // UTF-16 up to the first zero unit; a sender that counts its bytes
    // right sends that zero and nothing after it.
    std::u16string units;
    for (std::size_t i = 0; i + 1 < cbData; i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0) break;
        units.push_back(unit);
    }
    rightCbData = (static_cast<std::int64_t>(units.size()) + 1) * 2;
    return host_.Cp932FromUtf16(units);
}

void StandinAcad::OnNull() { Log("null"); }

void StandinAcad::OnCloseRequested() {
    Log("close-request");
    if (stage_ != Stage::Running) return;
    if (Busy() || dialog_) {
        Log("ignored", {LogText("close"), LogText("")});
        return;
    }
    Quit();
}

// Takes the queued input until it runs out, AutoCAD gets busy or a dialog
// shows. Input left when a dialog shows is lost, as typing ahead into a
// modal dialog would be.
void StandinAcad::Pump() {
    if (pumping_) return;
    pumping_ = true;
    while (!pending_.empty() && stage_ == Stage::Running && !Busy() && !dialog_) {
        const char byte = pending_.front();
        pending_.erase(0, 1);
        if (byte == Enter) PressEnter();
        else if (byte == Escape) PressEscape();
        else TakeByte(byte);
    }
    if (dialog_ && !pending_.empty()) {
        Log("ignored", {LogText("dialog"), LogText(pending_)});
        pending_.clear();
    }
    pumping_ = false;
    RefreshCommandLine();
}

void StandinAcad::TakeByte(char byte) {
    if (byte != Backspace) {
        typed_ += byte;
        return;
    }
    // Removes the last character, both bytes of a double-byte one.
    std::size_t last = 0;
    for (std::size_t i = 0; i < typed_.size();) {
        last = i;
        i += IsCp932LeadByte(static_cast<unsigned char>(typed_[i])) && i + 1 < typed_.size() ? 2 : 1;
    }
    typed_.erase(typed_.empty() ? 0 : last);
}

void StandinAcad::PressEnter() {
    const std::string line = typed_;
    host_.SetText(transcript_, prompt_.text + line);
    typed_.clear();
    const LineHandler handler = prompt_.onEnter;
    if (!handler) return;
    RunAfter(options_.commandDelayMs, "command", [handler, line] { handler(line); });
}

void StandinAcad::PressEscape() {
    host_.SetText(transcript_, prompt_.text + typed_ + fixed::Canceled);
    ShowMessage(fixed::Canceled);
    ShowCommandPrompt();
}

void StandinAcad::RunAfter(int delayMs, std::string_view what, std::function<void()> then) {
    if (delayMs <= 0) {
        then();
        return;
    }
    afterBusy_ = std::move(then);
    busyTimer_ = host_.StartTimer(delayMs);
    Log("busy", {LogNumber(delayMs), LogText(what)});
    RefreshCommandLine();
}

void StandinAcad::OnTimer(int id) {
    if (stage_ == Stage::Ended || id == 0) return;
    if (id == startTimer_) {
        startTimer_ = 0;
        CreateWindows();
    } else if (id == busyTimer_) {
        busyTimer_ = 0;
        const auto then = std::move(afterBusy_);
        afterBusy_ = nullptr;
        then();
    }
    Pump();
}

// ---- the end ------------------------------------------------------------------

void StandinAcad::EndProcess() {
    if (stage_ == Stage::Ended) return;
    if (startTimer_) host_.CancelTimer(startTimer_);
    if (busyTimer_) host_.CancelTimer(busyTimer_);
    startTimer_ = busyTimer_ = 0;
    pending_.clear();
    DestroyAllWindows();
    stage_ = Stage::Ended;
    shownCommandLine_.clear();
    Log("quit");
    host_.Quit();
}

}  // namespace tovimo::standin
