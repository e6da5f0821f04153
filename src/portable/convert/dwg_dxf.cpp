#include "convert/dwg_dxf.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "convert/result_check.h"
#include "convert/run_texts.h"
#include "drawings/path_parts.h"
#include "runlists/target_path.h"
#include "text/cp932_text.h"

namespace tovimo {

namespace {

constexpr int AcadReachedPause = 500;
constexpr const char* EndCaption = RunEndCaption;
constexpr const char* CanceledMessage = RunCanceledMessage;
constexpr const char* FinishedMessage = RunFinishedMessage;
constexpr const char* Escape = "\x1b";

// AutoCAD's questions whether to overwrite an existing file, as the whole
// command line.
constexpr std::string_view OverwriteQuestion = "上書きしますか? <N> ";
constexpr std::string_view ReplaceQuestion = "置き換えますか? <N> ";
// A question without a ":"; waiting for one would never end.
constexpr std::string_view VerticalTextQuestion = "縦書き? <N> ";

bool FitsCommandText(std::size_t bytes) { return bytes <= MaxCommandTextBytes; }

}  // namespace

std::string SkipName(const std::string& source) {
    std::string_view name = FileNameOf(source);
    auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!name.empty() && isTrimmed(name.front())) name.remove_prefix(1);
    while (!name.empty() && isTrimmed(name.back())) name.remove_suffix(1);
    return std::string(name);
}

DwgDxf::DwgDxf(AcadPlatform platform, ProfileFile& profile, FileSystem& files,
               ConversionView& view, std::string iniFileName, std::string macroSection)
    : DwgDxf(platform, profile, files, view, std::move(iniFileName), std::move(macroSection),
             platform.processes.ProgramFolder() + "tmp.dwg") {}

DwgDxf::DwgDxf(AcadPlatform platform, ProfileFile& profile, FileSystem& files,
               ConversionView& view, std::string iniFileName, std::string macroSection,
               std::string tmpDwgName)
    : AcadMacro(platform, profile, view, std::move(iniFileName), std::move(macroSection)),
      TmpDwgName(std::move(tmpDwgName)),
      profile_(profile),
      files_(files),
      view_(view) {}

DwgDxf::~DwgDxf() = default;

bool DwgDxf::RefuseSettings(const ConvertSettings& settings) {
    if (settings.CommandWait < 0) {
        view_.ShowMessage("コマンド間の待ち時間 (CommandWait) に負の値は使えません: " +
                              std::to_string(settings.CommandWait),
                          EndCaption);
        return true;
    }
    if (settings.WaitLimit <= 0) {
        view_.ShowMessage("待ち時間の上限 (WaitLimit) は 1 秒以上にしてください: " +
                              std::to_string(settings.WaitLimit),
                          EndCaption);
        return true;
    }
    if (settings.AcadCount < MinAcadCount || settings.AcadCount > MaxAcadCount) {
        view_.ShowMessage(AcadCountRangeMessage(settings.AcadCount), EndCaption);
        return true;
    }
    if (settings.AcadCount > 1 && AcadPath.empty()) {
        view_.ShowMessage(AcadCountNeedsPathMessage(), EndCaption);
        return true;
    }
    return false;
}

ConvertResult DwgDxf::ConvertFiles(const std::vector<std::string>& sources,
                                   const std::vector<std::string>& targets,
                                   const ConvertSettings& settings) {
    if (RefuseSettings(settings)) return ConvertRefused;
    if (settings.AcadCount > 1) return ConvertWithSessions(sources, targets, settings);
    settings_ = settings;
    notAnsweringRun_ = false;
    // AutoCAD gets as long to take one command text as to answer any wait.
    SetCommandSendLimitMs(static_cast<int>(std::min<std::int64_t>(
        std::int64_t{settings.WaitLimit} * 1000, std::numeric_limits<int>::max())));

    StartPelkadu();
    AcadArgs = settings.AcadArg;
    const StartResult start = StartAcad(settings.StartWait);
    if (start == StartFailed) return ConvertStartFailed;
    if (start == OtherAcadRunning) return ConvertOtherAcadRunning;

    platform_.clock.Sleep(AcadReachedPause);
    view_.EnableCancel(true);
    skipped_.clear();
    skippedMark_ = false;
    drawingListed_ = false;
    acadGone_ = false;

    const WaitOutcome firstPrompt = WaitUntil([this] { return IsCommandPrompt(); });
    bool endedEarly = firstPrompt != WaitOutcome::Done;
    if (firstPrompt == WaitOutcome::TimedOut) {
        SendCommand(Escape);
        SkipFrom(sources, 0, AcadLost() ? LostReason() : SkipReason::TimeLimit);
    } else if (firstPrompt == WaitOutcome::AcadLost) {
        SkipFrom(sources, 0, LostReason());
    }

    if (!endedEarly) {
        view_.SetProgressRange(static_cast<int>(sources.size()));
        view_.SetProgressPosition(0);
        SetUpVariables();
        if (AcadLost()) {
            SkipFrom(sources, 0, LostReason());
            endedEarly = true;
        }
        for (std::size_t i = 0; i < sources.size() && !Canceled && !endedEarly; ++i) {
            view_.DrawingStarting(static_cast<int>(i), sources[i]);
            if (ConvertDrawing(i, sources[i], targets) == DrawingOutcome::AcadLost) {
                SkipFrom(sources, i, LostReason());
                endedEarly = true;
                break;
            }
            view_.SetProgressPosition(static_cast<int>(i) + 1);
        }
    }
    if (!AcadLost() && firstPrompt == WaitOutcome::Done) {
        if (settings.SaveTmpdwg) SaveToTmpDwg(settings.CommandWait);
        if (!AcadLost()) RestoreVariables();
    }
    view_.SetProgressPosition(0);
    // Nothing is typed into an AutoCAD that is gone or hung, not even quit.
    notAnsweringRun_ = AcadNotAnswering();
    if (AcadLost()) ClearWindows();
    else if (settings.AcadClose) CloseAcad();
    if (skippedMark_) view_.ShowSkippedDrawings(skipped_);
    view_.EnableCancel(false);
    view_.ShowMessage(Canceled || endedEarly || AcadLost() ? CanceledMessage : FinishedMessage,
                      EndCaption);
    return ConvertCarriedOut;
}

SkipReason DwgDxf::LostReason() const {
    return AcadNotAnswering() ? SkipReason::AcadNotAnswering : SkipReason::AcadGone;
}

template <typename Test>
DwgDxf::WaitOutcome DwgDxf::WaitUntil(Test test) {
    const std::int64_t start = platform_.clock.NowMs();
    const std::int64_t limit = std::int64_t{settings_.WaitLimit} * 1000;
    for (;;) {
        if (AcadNotAnswering()) return WaitOutcome::AcadLost;
        if (!platform_.windows.IsWindow(MainWindow)) {
            acadGone_ = true;
            return WaitOutcome::AcadLost;
        }
        // The test may type (an answer, a press); AutoCAD may not take it.
        if (test()) return AcadNotAnswering() ? WaitOutcome::AcadLost : WaitOutcome::Done;
        if (platform_.clock.NowMs() - start >= limit) return WaitOutcome::TimedOut;
    }
}

DwgDxf::WaitOutcome DwgDxf::WaitForCommandPrompt() {
    return WaitUntil([this] { return IsCommandPrompt(); });
}

void DwgDxf::SendAndWait(const std::string& text, int commandWait) {
    SendCommand(text);
    platform_.clock.Sleep(commandWait);
}

void DwgDxf::SetUpVariables() {
    const int w = settings_.CommandWait;
    SendAndWait("FILEDIA\n", w);
    SendAndWait("0\n", w);
    SendAndWait("ISAVEBAK\n", w);
    SendAndWait("0\n", w);
    SendAndWait("PROXYNOTICE\n", w);
    SendAndWait("0\n", w);
    if (settings_.DYNCancel) {
        savedDynMode_ = GetSysVar("DYNMODE");
        SetSysVar("DYNMODE", "0");
    }
}

void DwgDxf::RestoreVariables() {
    const int w = settings_.CommandWait;
    if (settings_.DYNCancel) SetSysVar("DYNMODE", savedDynMode_);
    SendAndWait("FILEDIA\n", w);
    SendAndWait(std::to_string(settings_.FileDia) + "\n", w);
    SendAndWait("ISAVEBAK\n", w);
    SendAndWait(std::to_string(settings_.ISaveBak) + "\n", w);
    SendAndWait("PROXYNOTICE\n", w);
    SendAndWait(std::to_string(settings_.ProxyNotice) + "\n", w);
}

template <typename Test>
bool DwgDxf::EveryDrawingText(const std::string& source, const std::string& target,
                              Test test) const {
    if (settings_.SaveTmpdwg && !test(TmpDwgName + "\n")) return false;
    for (const auto& line : MacroLines) {
        std::string text;
        switch (ClassifyMacroLine(line)) {
            case MacroLineKind::SourceFile: text = source + "\n"; break;
            case MacroLineKind::SaveFile: text = target + "\n"; break;
            case MacroLineKind::TmpName: text = TmpDwgName + "\n"; break;
            case MacroLineKind::Enter: text = "\n"; break;
            case MacroLineKind::Escape: text = Escape; break;
            case MacroLineKind::Command: text = line + "\n"; break;
        }
        if (!test(text)) return false;
    }
    return true;
}

bool DwgDxf::IsOverwriteQuestion() {
    return ReadCommandLine() == OverwriteQuestion || ReadCommandLine() == ReplaceQuestion;
}

DwgDxf::DrawingOutcome DwgDxf::ConvertDrawing(std::size_t i, const std::string& source,
                                              const std::vector<std::string>& targets) {
    drawingListed_ = false;
    const TargetRules rules{settings_.SaveSameDir, settings_.SaveDir, settings_.SaveChildDir};
    const std::string target = SaveFileTarget(rules, source, i, targets);
    // Nothing cut short is ever typed: a cut target path could overwrite another file.
    if (!EveryDrawingText(source, target,
                          [](const std::string& text) { return FitsCommandText(text.size()); })) {
        Skip(source, SkipReason::PathTooLong);
        return DrawingOutcome::Skipped;
    }
    // Nor is a drawing begun whose texts a Unicode AutoCAD could not all be given.
    if (!EveryDrawingText(source, target,
                          [this](const std::string& text) { return HasCommandForm(text); })) {
        Skip(source, SkipReason::NoUnicodeForm);
        return DrawingOutcome::Skipped;
    }
    if (settings_.SaveTmpdwg && !SaveToTmpDwg(settings_.CommandWait)) {
        if (AcadLost()) return DrawingOutcome::AcadLost;
        Skip(source, SkipReason::TimeLimit);
        return DrawingOutcome::Skipped;
    }

    const int w = settings_.CommandWait;
    bool refused = false;
    // A macro that names the target is trusted only when the result file
    // was written; a macro that saves its own way is not checked.
    const std::string_view extension = ResultExtension(MacroSection);
    const std::string result = ExpectedResultPath(target, extension);
    bool resultWatched = false;
    FileStamp resultBefore;
    const std::size_t lineCount = MacroLines.size();
    for (std::size_t j = 0; j < lineCount; ++j) {
        const std::string& line = MacroLines[j];
        switch (ClassifyMacroLine(line)) {
            case MacroLineKind::SourceFile: {
                SendCommand(source + "\n");
                const OpenOutcome open = WatchOpen(source);
                if (open == OpenOutcome::AcadLost) return DrawingOutcome::AcadLost;
                if (open == OpenOutcome::Failed) return DrawingOutcome::Skipped;
                break;
            }
            case MacroLineKind::SaveFile:
                if (!resultWatched && !extension.empty()) {
                    resultBefore = files_.GetFileStamp(result);
                    resultWatched = true;
                }
                SendCommand(target + "\n");
                platform_.clock.Sleep(w);
                break;
            case MacroLineKind::TmpName: SendCommand(TmpDwgName + "\n"); break;
            case MacroLineKind::Enter: SendCommand("\n"); break;
            case MacroLineKind::Escape: SendCommand(Escape); break;
            case MacroLineKind::Command: SendCommand(line + "\n"); break;
        }

        if (IsOverwriteQuestion()) {
            if (settings_.Rewite) {
                SendCommand("y\n");
            } else {
                SendCommand("n\n");
                Skip(source, SkipReason::ResultExists);
                refused = true;
                j = lineCount - 1;  // no further line for this drawing
                SaveToTmpDwg(w);
                if (AcadLost()) return DrawingOutcome::AcadLost;
            }
        }

        if (ReadCommandLine() != VerticalTextQuestion) {
            const WaitOutcome prompt = WaitUntil([this] { return IsPrompting(); });
            if (prompt == WaitOutcome::AcadLost) return DrawingOutcome::AcadLost;
            if (prompt == WaitOutcome::TimedOut) {
                SendCommand(Escape);
                if (AcadLost()) return DrawingOutcome::AcadLost;
                if (!refused) Skip(source, SkipReason::TimeLimit);
                return DrawingOutcome::Skipped;
            }
        }
        platform_.clock.Sleep(w);
    }
    if (refused) return DrawingOutcome::Skipped;
    if (resultWatched && !ResultWritten(resultBefore, files_.GetFileStamp(result))) {
        Skip(source, SkipReason::ResultNotWritten);
        return DrawingOutcome::Skipped;
    }
    return DrawingOutcome::Converted;
}

DwgDxf::OpenOutcome DwgDxf::WatchOpen(const std::string& source) {
    const int w = settings_.CommandWait;
    bool failed = false;
    const WaitOutcome outcome = WaitUntil([&] {
        // A drawing that opens quickly costs no command wait.
        if (IsCommandPrompt()) return true;
        platform_.clock.Sleep(w);
        // A missing shape file is answered with Enter; the drawing goes on opening.
        AnswerPrompt("ｼｪｲﾌﾟ");
        AnswerPrompt("シェイプ");
        platform_.clock.Sleep(w);
        failed = PressDialogOk("AutoCAD LT ﾒｯｾｰｼﾞ") || PressDialogOk("AutoCAD") ||
                 AnswerPrompt("続行するには");
        return failed;
    });
    if (outcome == WaitOutcome::AcadLost) return OpenOutcome::AcadLost;
    if (outcome == WaitOutcome::Done && !failed) return OpenOutcome::Opened;
    SendCommand(Escape);
    if (AcadLost()) return OpenOutcome::AcadLost;
    Skip(source, failed ? SkipReason::OpenFailed : SkipReason::TimeLimit);
    return OpenOutcome::Failed;
}

bool DwgDxf::SaveToTmpDwg(int commandWait) {
    // The name is typed whole or not at all.
    const std::string nameLine = TmpDwgName + "\n";
    if (!FitsCommandText(nameLine.size()) || !HasCommandForm(nameLine)) return true;
    const int w = commandWait;
    files_.DeleteFile(TmpDwgName);
    SendAndWait("saveas\n", w);
    SendAndWait("\n", w);
    SendAndWait(nameLine, w);
    if (IsOverwriteQuestion()) SendCommand("y\n");
    const WaitOutcome prompt = WaitUntil([this] { return IsCommandPrompt(); });
    if (prompt == WaitOutcome::TimedOut) SendCommand(Escape);
    return prompt == WaitOutcome::Done;
}

void DwgDxf::Skip(const std::string& source, SkipReason reason) {
    skipped_.push_back({SkipName(source), source, reason});
    skippedMark_ = true;
    drawingListed_ = true;
}

void DwgDxf::SkipFrom(const std::vector<std::string>& sources, std::size_t first,
                      SkipReason reason) {
    // The drawing under way may be listed already, for another reason.
    for (std::size_t i = drawingListed_ ? first + 1 : first; i < sources.size(); ++i)
        Skip(sources[i], reason);
}

}  // namespace tovimo
