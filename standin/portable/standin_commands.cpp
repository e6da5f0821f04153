// The stand-in's commands: system variables, open, saveas, line, -style, quit.
#include <charconv>
#include <utility>

#include "standin_acad.h"
#include "standin_paths.h"
#include "standin_text_compare.h"

namespace tovimo::standin {

namespace {

std::string Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

// A file name may be typed in double quotes, as paths with blanks often are.
std::string FileNameAnswer(const std::string& line) {
    std::string name = Trim(line);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    return name;
}

// A keyword answer: a leading "_" asks for its English form, which is the
// only form the stand-in knows.
std::string Keyword(const std::string& line) {
    std::string word = Trim(line);
    if (!word.empty() && word.front() == '_') word.erase(0, 1);
    return UpperAscii(word);
}

std::optional<int> WholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

std::string ExtensionFor(const std::string& format) { return format == "DXF" ? ".dxf" : ".dwg"; }

std::string FormatForPath(const std::string& path) {
    return EndsWithIgnoringCase(path, ".dxf") ? "DXF" : "DWG2000";
}

bool IsDwgVersionWord(const std::string& word) {
    static const char* const words[] = {"R14", "2000", "2004", "2007", "2010", "2013",
                                        "2018", "LT2000", "LT98", "LT97"};
    for (const char* candidate : words)
        if (word == candidate) return true;
    return false;
}

}  // namespace

void StandinAcad::RunCommand(const std::string& line) {
    std::string name = Trim(line);
    // "_" (the English name) and "." (the built-in command) may stand before a name.
    while (!name.empty() && (name.front() == '_' || name.front() == '.')) name.erase(0, 1);
    if (name.empty()) {
        ShowCommandPrompt();
        return;
    }
    const std::string upper = UpperAscii(name);
    if (SystemVariable* variable = FindSysVar(upper)) return AskSysVar(*variable);
    if (upper == "SETVAR") return SetVar();
    if (upper == "OPEN") return Open();
    if (upper == "SAVEAS") return SaveAs();
    if (upper == "QUIT" || upper == "EXIT") return Quit();
    if (upper == "LINE") return Line();
    if (upper == "-STYLE" || name == "-文字スタイル") return Style();
    ShowMessage("\"" + name + "\" は不明なコマンドです。F1 キーを押すとヘルプが表示されます。");
    ShowCommandPrompt();
}

// ---- system variables -----------------------------------------------------------

std::string StandinAcad::SysVar(std::string_view name) const {
    const std::string upper = UpperAscii(name);
    for (const auto& variable : sysVars_)
        if (variable.name == upper) return std::to_string(variable.value);
    return {};
}

StandinAcad::SystemVariable* StandinAcad::FindSysVar(std::string_view name) {
    const std::string upper = UpperAscii(name);
    for (auto& variable : sysVars_)
        if (variable.name == upper) return &variable;
    return nullptr;
}

void StandinAcad::AskSysVar(SystemVariable& variable) {
    const std::string name = variable.name;
    ShowPrompt(texts_.SysVarPrompt(name, std::to_string(variable.value)), [this, name](const std::string& line) {
        SystemVariable& target = *FindSysVar(name);
        const std::string answer = Trim(line);
        if (answer.empty()) return ShowCommandPrompt();  // Enter keeps the value
        const auto value = WholeNumber(answer);
        if (!value || *value < target.minimum || *value > target.maximum) {
            ShowMessage("値は " + std::to_string(target.minimum) + " から " + std::to_string(target.maximum) +
                        " の範囲で入力してください。");
            return AskSysVar(target);
        }
        if (name == "SDI" && !SdiMayBecome(*value)) return ShowCommandPrompt();
        target.value = *value;
        Log("sysvar", {LogText(name), LogNumber(*value)});
        ShowCommandPrompt();
    });
}

bool StandinAcad::SdiMayBecome(int value) {
    const int current = FindSysVar("SDI")->value;
    if (current >= 2) {
        ShowMessage("SDI はアプリケーションによって設定されているため変更できません。");
        return false;
    }
    if (value == 1 && current == 0 && documents_ > 1) {
        ShowMessage("複数の図面が開いているため、SDI を 1 にできません。");
        return false;
    }
    return true;
}

void StandinAcad::SetVar() {
    ShowPrompt(fixed::SetVarPrompt, [this](const std::string& line) {
        const std::string name = Trim(line);
        if (SystemVariable* variable = FindSysVar(name)) return AskSysVar(*variable);
        if (!name.empty()) ShowMessage("\"" + name + "\" という変数名はありません。");
        ShowCommandPrompt();
    });
}

// ---- open -------------------------------------------------------------------------

void StandinAcad::Open() {
    if (SysVar("FILEDIA") == "1") {
        // The file dialog: typed input does not reach it, only its buttons do.
        auto close = [this] { ShowCommandPrompt(); };
        ShowDialog(texts_.fileDialogTitle, "", {{0, fixed::Open, close}, {0, fixed::Cancel, close}});
        return;
    }
    ShowPrompt(texts_.openFileNamePrompt, [this](const std::string& line) { OpenFile(FileNameAnswer(line)); });
}

void StandinAcad::OpenFile(const std::string& path) {
    if (path.empty()) return ShowCommandPrompt();
    RunAfter(options_.openDelayMs, "open", [this, path] { ReadDrawing(path); });
}

void StandinAcad::ReadDrawing(const std::string& path) {
    const auto content = host_.ReadFile(path);
    if (!content) {
        Log("read-failed", {LogText(path)});
        return FailOpen(path);
    }
    Log("read", {LogText(path)});
    const StandinDrawing drawing = ParseDrawing(*content);
    if (drawing.hangsWhileOpening) {
        Log("hang");
        return host_.Hang();
    }
    if (drawing.crashesWhileOpening) {
        Log("crash");
        return host_.Crash();
    }
    if (drawing.failsToOpen) return FailOpen(path);
    if (drawing.missingShape) return AskShape(path, drawing);
    if (drawing.asksToContinue) return AskContinue(path);
    FinishOpen(path, drawing);
}

void StandinAcad::FailOpen(const std::string& path) {
    ShowDialog(texts_.messageBoxTitle, path + " は有効な図面ファイルではありません。",
               {{0, fixed::Ok, [this] { ShowCommandPrompt(); }}});
}

// Any answer, Enter alone too, goes on without the shape file.
void StandinAcad::AskShape(const std::string& path, const StandinDrawing& drawing) {
    ShowPrompt(texts_.shapePrompt, [this, path, drawing](const std::string&) {
        if (drawing.asksToContinue) return AskContinue(path);
        FinishOpen(path, drawing);
    });
}

// The drawing is damaged: after Enter the open ends without it.
void StandinAcad::AskContinue(const std::string& path) {
    ShowPrompt(texts_.continuePrompt, [this, path](const std::string&) {
        ShowMessage(path + " を開けませんでした。");
        ShowCommandPrompt();
    });
}

// With SDI 0 the drawing opens beside the others and becomes the current
// one; otherwise it takes the place of the current one.
void StandinAcad::FinishOpen(const std::string& path, const StandinDrawing& drawing) {
    drawing_ = CurrentDrawing{FileNameOf(path), path, path, false, drawing.missingShape, drawing.verticalText};
    if (SysVar("SDI") == "0") ++documents_;
    UpdateTitles();
    Log("drawing", {LogText(drawing_.name), LogText(drawing_.path)});
    Log("documents", {LogNumber(documents_)});
    ShowCommandPrompt();
}

// ---- saveas -------------------------------------------------------------------------

void StandinAcad::SaveAs() { AskSaveFormat(); }

void StandinAcad::AskSaveFormat() {
    ShowPrompt(texts_.saveFormatPrompt, [this](const std::string& line) {
        const std::string word = Keyword(line);
        if (word.empty()) return AskSaveName("DWG2000");
        if (word == "DXF") return AskPrecision("DXF");
        if (IsDwgVersionWord(word)) return AskSaveName("DWG" + word);
        ShowMessage("ファイル形式 \"" + Trim(line) + "\" は無効です。");
        AskSaveFormat();
    });
}

void StandinAcad::AskPrecision(const std::string& format) {
    ShowPrompt(texts_.precisionPrompt, [this, format](const std::string& line) {
        const std::string answer = Trim(line);
        const auto digits = WholeNumber(answer);
        if (answer.empty() || (digits && *digits >= 0 && *digits <= 16)) return AskSaveName(format);
        ShowMessage("0 から 16 の整数を入力してください。");
        AskPrecision(format);
    });
}

void StandinAcad::AskSaveName(const std::string& format) {
    const std::string extension = ExtensionFor(format);
    const std::string defaultTarget =
        (drawing_.path.empty() ? StemOf(drawing_.name) : WithoutExtension(drawing_.path)) + extension;
    ShowPrompt(texts_.SaveNamePrompt(FileNameOf(defaultTarget)),
               [this, format, extension, defaultTarget](const std::string& line) {
                   std::string target = FileNameAnswer(line);
                   if (target.empty()) target = defaultTarget;
                   if (!EndsWithIgnoringCase(target, extension)) target += extension;
                   if (host_.FileExists(target)) return AskOverwrite(target, format);
                   WriteDrawing(target, format, [this](bool) { ShowCommandPrompt(); });
               });
}

void StandinAcad::AskOverwrite(const std::string& target, const std::string& format) {
    ShowPrompt(texts_.overwriteQuestion, [this, target, format](const std::string& line) {
        const std::string answer = Keyword(line);
        if (answer == "Y" || answer == "YES")
            return WriteDrawing(target, format, [this](bool) { ShowCommandPrompt(); });
        Log("kept", {LogText(target)});
        ShowCommandPrompt();
    });
}

void StandinAcad::WriteDrawing(const std::string& target, const std::string& format,
                               std::function<void(bool written)> then) {
    RunAfter(options_.saveDelayMs, "save", [this, target, format, then] {
        StandinDrawing content;
        content.format = format;
        content.source = drawing_.source;
        content.missingShape = drawing_.missingShape;
        content.verticalText = drawing_.verticalText;
        const bool written = host_.WriteFile(target, FormatDrawing(content));
        if (written) {
            Log("write", {LogText(target), LogText(format)});
            drawing_.name = FileNameOf(target);
            drawing_.path = target;
            drawing_.changed = false;
            UpdateTitles();
            Log("drawing", {LogText(drawing_.name), LogText(drawing_.path)});
        } else {
            Log("write-failed", {LogText(target)});
            ShowMessage(target + " に書き込めません。");
        }
        then(written);
    });
}

// ---- commands that change the drawing -------------------------------------------------

void StandinAcad::Line() {
    ShowPrompt(fixed::FirstPointPrompt, [this](const std::string& line) {
        if (Trim(line).empty()) return ShowCommandPrompt();
        NextPoint(1);
    });
}

// A second point draws a segment; Enter ends the command.
void StandinAcad::NextPoint(int pointsGiven) {
    ShowPrompt(fixed::NextPointPrompt, [this, pointsGiven](const std::string& line) {
        if (Trim(line).empty()) return ShowCommandPrompt();
        drawing_.changed = true;
        NextPoint(pointsGiven + 1);
    });
}

void StandinAcad::Style() {
    ShowPrompt(texts_.styleNamePrompt, [this](const std::string& line) {
        const std::string name = Trim(line);
        StyleStep(0, name.empty() ? "Standard" : name);
    });
}

// The questions after the style name; the last one, "縦書き? <N> ", only
// for a vertical font.
void StandinAcad::StyleStep(std::size_t step, const std::string& styleName) {
    const std::vector<std::string> questions = {texts_.fontPrompt,  fixed::HeightPrompt,
                                                fixed::WidthPrompt, fixed::ObliquePrompt,
                                                fixed::BackwardsPrompt, fixed::UpsideDownPrompt};
    if (step < questions.size()) {
        ShowPrompt(questions[step], [this, step, styleName](const std::string&) { StyleStep(step + 1, styleName); });
    } else if (step == questions.size() && drawing_.verticalText) {
        ShowPrompt(fixed::VerticalQuestion, [this, styleName](const std::string&) { FinishStyle(styleName); });
    } else {
        FinishStyle(styleName);
    }
}

void StandinAcad::FinishStyle(const std::string& styleName) {
    drawing_.changed = true;
    ShowMessage("\"" + styleName + "\" は現在の文字スタイルです。");
    ShowCommandPrompt();
}

// ---- quit ---------------------------------------------------------------------------

void StandinAcad::Quit() {
    if (!drawing_.changed) return EndProcess();
    ShowDialog(texts_.questionTitle, drawing_.name + " への変更を保存しますか?",
               {{0, fixed::Yes, [this] { SaveBeforeQuit(); }},
                {0, fixed::No, [this] { EndProcess(); }},
                {0, fixed::Cancel, [this] { ShowCommandPrompt(); }}});
}

// A save that fails keeps AutoCAD open, so the changes are not lost.
void StandinAcad::SaveBeforeQuit() {
    if (drawing_.path.empty()) {
        // The unnamed drawing has no file yet: AutoCAD would ask for a name.
        ShowMessage(drawing_.name + " は名前が付いていないため保存できません。SAVEAS を使用してください。");
        return ShowCommandPrompt();
    }
    WriteDrawing(drawing_.path, FormatForPath(drawing_.path), [this](bool written) {
        if (written) return EndProcess();
        ShowCommandPrompt();
    });
}

}  // namespace tovimo::standin
