#include "convert/acad_session.h"

#include <algorithm>

#include "acadlink/acad_shown_text.h"
#include "convert/acad_macro.h"
#include "convert/result_check.h"
#include "runlists/target_path.h"

namespace tovimo {

namespace {

constexpr int AcadReachedPause = 500;
// How long one wait for AutoCAD's process lasts before messages may run.
constexpr int ProcessWaitSlice = 100;
// How long an AutoCAD that did not start is given to go once it is ended.
constexpr int UnstartedEndWait = 3000;
constexpr const char* Escape = "\x1b";
// 0: every OPEN adds a drawing to those open; 1: an OPEN replaces the one
// open; 2 and 3: applications force 1, and only AutoCAD changes it.
constexpr const char* Sdi = "SDI";

// AutoCAD's questions whether to overwrite an existing file, as the whole
// command line.
constexpr std::string_view OverwriteQuestion = "上書きしますか? <N> ";
constexpr std::string_view ReplaceQuestion = "置き換えますか? <N> ";
// A question without a ":"; waiting for one would never end.
constexpr std::string_view VerticalTextQuestion = "縦書き? <N> ";

bool FitsCommandText(std::size_t bytes) { return bytes <= MaxCommandTextBytes; }

DrawingResult Skipped(SkipReason reason) { return {DrawingResult::Outcome::Skipped, reason, {}}; }

}  // namespace

AcadSession::AcadSession(AcadControl& link, AcadPlatform platform, FileSystem& files,
                         const std::vector<std::string>& macroLines,
                         std::string_view resultExtension, std::string tmpDwgName,
                         const ConvertSettings& settings, const std::atomic<bool>& canceled)
    : link_(link),
      platform_(platform),
      files_(files),
      macroLines_(macroLines),
      resultExtension_(resultExtension),
      tmpDwgName_(std::move(tmpDwgName)),
      settings_(settings),
      canceled_(canceled) {}

StartResult AcadSession::Start() {
    endedUnstarted_ = false;
    link_.StartPelkadu();
    link_.AcadArgs = settings_.AcadArg;
    const StartResult start = link_.StartAcad(settings_.StartWait);
    if (start != AcadReady) {
        // Left alone it would come up later with nothing linked to it, and
        // make the next run meet "another AutoCAD".
        if (start == StartFailed) endedUnstarted_ = EndUnstarted(link_.TakeFailedStart().get());
        return start;
    }
    acadGone_ = false;
    prompted_ = false;
    prepared_ = false;
    drawingsSinceStart_ = 0;
    platform_.clock.Sleep(AcadReachedPause);
    return start;
}

bool AcadSession::EndUnstarted(OwnedProcess* process) {
    if (process == nullptr || !process->End()) return false;
    // Its windows go with it; a start after this must not meet them.
    process->WaitForEnd(UnstartedEndWait);
    return true;
}

std::optional<SkipReason> AcadSession::WaitForFirstPrompt() {
    endedUnstarted_ = false;
    const WaitOutcome prompt = WaitUntil([this] { return link_.IsCommandPrompt(); }, true);
    if (prompt == WaitOutcome::Done) {
        prompted_ = true;
        return std::nullopt;
    }
    if (prompt == WaitOutcome::TimedOut) {
        // Still at a dialog nobody answers, or still loading: nothing is
        // typed into it, and it is not left behind.
        if (EndUnstarted(link_.Process())) {
            endedUnstarted_ = true;
            acadGone_ = true;
            link_.ClearWindows();
            return SkipReason::TimeLimit;
        }
        link_.SendCommand(Escape);
        if (!Lost()) return SkipReason::TimeLimit;
    }
    return LostReason();
}

SkipReason AcadSession::LostReason() const {
    return link_.AcadNotAnswering() ? SkipReason::AcadNotAnswering : SkipReason::AcadGone;
}

template <typename Test>
AcadSession::WaitOutcome AcadSession::WaitUntil(Test test, bool cancelBound) {
    const std::int64_t start = platform_.clock.NowMs();
    std::int64_t deadline = start + std::int64_t{settings_.WaitLimit} * 1000;
    bool cancelSeen = false;
    for (;;) {
        if (cancelBound) {
            const std::int64_t now = platform_.clock.NowMs();
            // The program is about to be ended: one look, no more waiting.
            if (link_.StartStopped()) deadline = std::min(deadline, now);
            if (canceled_ && !cancelSeen) {
                cancelSeen = true;
                deadline = std::min(deadline, now + std::int64_t{settings_.StartWait} * 1000);
            }
        }
        if (link_.AcadNotAnswering()) return WaitOutcome::Lost;
        if (!platform_.windows.IsWindow(link_.MainWindow)) {
            acadGone_ = true;
            return WaitOutcome::Lost;
        }
        // The test may type (an answer, a press); AutoCAD may not take it.
        if (test()) return link_.AcadNotAnswering() ? WaitOutcome::Lost : WaitOutcome::Done;
        if (platform_.clock.NowMs() >= deadline) return WaitOutcome::TimedOut;
    }
}

void AcadSession::SendAndWait(const std::string& text, int commandWait) {
    link_.SendCommand(text);
    platform_.clock.Sleep(commandWait);
}

bool AcadSession::SetUpVariables() {
    // A set-up cut short is put back all the same.
    prepared_ = true;
    const int w = settings_.CommandWait;
    SendAndWait("FILEDIA\n", w);
    SendAndWait("0\n", w);
    SendAndWait("ISAVEBAK\n", w);
    SendAndWait("0\n", w);
    SendAndWait("PROXYNOTICE\n", w);
    SendAndWait("0\n", w);
    if (settings_.DYNCancel) {
        savedDynMode_ = link_.GetSysVar("DYNMODE");
        link_.SetSysVar("DYNMODE", "0");
    }
    if (settings_.SingleDocument == 1 && !Lost()) SetUpSingleDocument();
    return !Lost();
}

void AcadSession::SetUpSingleDocument() {
    // GetSysVar takes the first prompt it sees: AutoCAD must be done with
    // what was typed before.
    const auto idle = [this] {
        return WaitUntil([this] { return link_.IsCommandPrompt(); }) != WaitOutcome::Lost;
    };
    if (!idle()) return;
    const std::string value = link_.GetSysVar(Sdi);
    if (Lost()) return;
    // A later AutoCAD of the run may find the 1 that a lost one kept: the
    // first value read is the user's.
    if (!sdiRead_) {
        sdiRead_ = true;
        putBackSdi_ = value == "0";
    }
    if (value == "1" || value == "2" || value == "3") return;
    if (value == "0") {
        // Refused while more than one drawing is open.
        link_.SetSysVar(Sdi, "1");
        if (!idle()) return;
        const std::string taken = link_.GetSysVar(Sdi);
        if (Lost() || taken == "1") return;
    }
    // Not taken, or no such variable: the run goes on with AutoCAD as it is.
    if (singleDocumentRefused_) singleDocumentRefused_();
}

void AcadSession::RestoreVariables() {
    const int w = settings_.CommandWait;
    if (settings_.DYNCancel) link_.SetSysVar("DYNMODE", savedDynMode_);
    SendAndWait("FILEDIA\n", w);
    SendAndWait(std::to_string(settings_.FileDia) + "\n", w);
    SendAndWait("ISAVEBAK\n", w);
    SendAndWait(std::to_string(settings_.ISaveBak) + "\n", w);
    SendAndWait("PROXYNOTICE\n", w);
    SendAndWait(std::to_string(settings_.ProxyNotice) + "\n", w);
    if (putBackSdi_) link_.SetSysVar(Sdi, "0");
}

template <typename Test>
bool AcadSession::EveryDrawingText(const std::string& source, const std::string& target,
                                   Test test) const {
    if (settings_.SaveTmpdwg && !test(tmpDwgName_ + "\n")) return false;
    for (const auto& line : macroLines_) {
        std::string text;
        switch (ClassifyMacroLine(line)) {
            case MacroLineKind::SourceFile: text = source + "\n"; break;
            case MacroLineKind::SaveFile: text = target + "\n"; break;
            case MacroLineKind::TmpName: text = tmpDwgName_ + "\n"; break;
            case MacroLineKind::Enter: text = "\n"; break;
            case MacroLineKind::Escape: text = Escape; break;
            case MacroLineKind::Command: text = line + "\n"; break;
        }
        if (!test(text)) return false;
    }
    return true;
}

bool AcadSession::IsOverwriteQuestion() {
    return link_.ReadCommandLine() == OverwriteQuestion ||
           link_.ReadCommandLine() == ReplaceQuestion;
}

DrawingResult AcadSession::Convert(std::size_t i, const std::string& source,
                                   const std::vector<std::string>& targets) {
    ++drawingsSinceStart_;
    link_.ForgetShown();
    std::string shownWhenListed;
    DrawingResult result;
    const TargetRules rules{settings_.SaveSameDir, settings_.SaveDir, settings_.SaveChildDir};
    const std::string target = SaveFileTarget(rules, source, i, targets);
    // Nothing cut short is ever typed: a cut target path could overwrite another file.
    if (!EveryDrawingText(source, target,
                          [](const std::string& text) { return FitsCommandText(text.size()); })) {
        result = Skipped(SkipReason::PathTooLong);
    } else if (!EveryDrawingText(source, target, [this](const std::string& text) {
                   return link_.HasCommandForm(text);
               })) {
        // Nor is a drawing begun whose texts a Unicode AutoCAD could not all be given.
        result = Skipped(SkipReason::NoUnicodeForm);
    } else {
        std::optional<SkipReason> listed;  // a reason the drawing already failed for
        const auto lost = [&] {
            return DrawingResult{DrawingResult::Outcome::AcadLost, listed.value_or(LostReason()), {}};
        };
        const int w = settings_.CommandWait;
        // A macro that names the target is trusted only when the result file
        // was written; a macro that saves its own way is not checked.
        const std::string resultPath = ExpectedResultPath(target, resultExtension_);
        bool resultWatched = false;
        FileStamp resultBefore;
        // Taken before anything is typed: a drawing changed during its
        // conversion leaves a result that is not up to date.
        const FileStamp drawing =
            resultExtension_.empty() ? FileStamp{} : files_.GetFileStamp(source);
        bool done = false;
        if (settings_.SaveTmpdwg && !SaveToTmpDwg(w)) {
            result = Lost() ? lost() : Skipped(SkipReason::TimeLimit);
            done = true;
        }
        const std::size_t lineCount = macroLines_.size();
        for (std::size_t j = 0; j < lineCount && !done; ++j) {
            const std::string& line = macroLines_[j];
            switch (ClassifyMacroLine(line)) {
                case MacroLineKind::SourceFile: {
                    link_.SendCommand(source + "\n");
                    SkipReason why = SkipReason::OpenFailed;
                    const OpenOutcome open = WatchOpen(why);
                    if (open == OpenOutcome::Lost) result = lost();
                    if (open == OpenOutcome::Failed) result = Skipped(why);
                    done = open != OpenOutcome::Opened;
                    break;
                }
                case MacroLineKind::SaveFile:
                    if (!resultWatched && !resultExtension_.empty()) {
                        resultBefore = files_.GetFileStamp(resultPath);
                        resultWatched = true;
                    }
                    link_.SendCommand(target + "\n");
                    platform_.clock.Sleep(w);
                    break;
                case MacroLineKind::TmpName: link_.SendCommand(tmpDwgName_ + "\n"); break;
                case MacroLineKind::Enter: link_.SendCommand("\n"); break;
                case MacroLineKind::Escape: link_.SendCommand(Escape); break;
                case MacroLineKind::Command: link_.SendCommand(line + "\n"); break;
            }
            if (done) break;

            if (IsOverwriteQuestion()) {
                if (settings_.Rewite) {
                    link_.SendCommand("y\n");
                } else {
                    link_.SendCommand("n\n");
                    listed = SkipReason::ResultExists;
                    // The question is what AutoCAD showed; what follows the answer is not.
                    shownWhenListed = link_.LastCommandLineRead();
                    j = lineCount - 1;  // no further line for this drawing
                    SaveToTmpDwg(w);
                    if (Lost()) {
                        result = lost();
                        break;
                    }
                }
            }

            if (link_.ReadCommandLine() != VerticalTextQuestion) {
                const WaitOutcome prompt = WaitUntil([this] { return link_.IsPrompting(); });
                if (prompt == WaitOutcome::Lost) {
                    result = lost();
                    done = true;
                    break;
                }
                if (prompt == WaitOutcome::TimedOut) {
                    link_.SendCommand(Escape);
                    result = Lost() ? lost() : Skipped(listed.value_or(SkipReason::TimeLimit));
                    done = true;
                    break;
                }
            }
            platform_.clock.Sleep(w);
        }
        if (!done && result.outcome != DrawingResult::Outcome::AcadLost) {
            if (listed) result = Skipped(*listed);
            else if (resultWatched && !ResultWritten(resultBefore, files_.GetFileStamp(resultPath)))
                result = Skipped(SkipReason::ResultNotWritten);
            else if (resultWatched && drawing.exists)
                // What marks the result up to date. Where that fails it is
                // still converted, and only converted again by the next
                // update run.
                files_.SetLastWriteTime(resultPath, drawing.lastWriteTime);
        }
    }
    if (result.outcome == DrawingResult::Outcome::AcadLost) ++lostInARow_;
    else lostInARow_ = 0;
    if (result.outcome != DrawingResult::Outcome::Converted)
        result.acadShown = ShownFor(result, shownWhenListed);
    return result;
}

std::string AcadSession::ShownFor(const DrawingResult& result,
                                  const std::string& shownWhenListed) const {
    // What a crashed AutoCAD showed last is no clue to the drawing.
    if (result.outcome == DrawingResult::Outcome::AcadLost && !link_.AcadNotAnswering()) return {};
    if (!link_.LastDialogMessage().empty()) return AcadShownText(link_.LastDialogMessage());
    return AcadShownText(shownWhenListed.empty() ? link_.LastCommandLineRead() : shownWhenListed);
}

AcadSession::OpenOutcome AcadSession::WatchOpen(SkipReason& reason) {
    const int w = settings_.CommandWait;
    bool failed = false;
    const WaitOutcome outcome = WaitUntil([&] {
        // A drawing that opens quickly costs no command wait.
        if (link_.IsCommandPrompt()) return true;
        platform_.clock.Sleep(w);
        // A missing shape file is answered with Enter; the drawing goes on opening.
        link_.AnswerPrompt("ｼｪｲﾌﾟ");
        link_.AnswerPrompt("シェイプ");
        platform_.clock.Sleep(w);
        failed = link_.PressDialogOk("AutoCAD LT ﾒｯｾｰｼﾞ") || link_.PressDialogOk("AutoCAD") ||
                 link_.AnswerPrompt("続行するには");
        return failed;
    });
    if (outcome == WaitOutcome::Lost) return OpenOutcome::Lost;
    if (outcome == WaitOutcome::Done && !failed) return OpenOutcome::Opened;
    link_.SendCommand(Escape);
    if (Lost()) return OpenOutcome::Lost;
    reason = failed ? SkipReason::OpenFailed : SkipReason::TimeLimit;
    return OpenOutcome::Failed;
}

bool AcadSession::SaveToTmpDwg(int commandWait) {
    // The name is typed whole or not at all.
    const std::string nameLine = tmpDwgName_ + "\n";
    if (!FitsCommandText(nameLine.size()) || !link_.HasCommandForm(nameLine)) return true;
    const int w = commandWait;
    files_.DeleteFile(tmpDwgName_);
    SendAndWait("saveas\n", w);
    SendAndWait("\n", w);
    SendAndWait(nameLine, w);
    if (IsOverwriteQuestion()) link_.SendCommand("y\n");
    const WaitOutcome prompt = WaitUntil([this] { return link_.IsCommandPrompt(); });
    if (prompt == WaitOutcome::TimedOut) link_.SendCommand(Escape);
    return prompt == WaitOutcome::Done;
}

void AcadSession::PutBack() {
    if (Lost() || !prompted_ || !prepared_) return;
    if (settings_.SaveTmpdwg) SaveToTmpDwg(settings_.CommandWait);
    if (!Lost()) RestoreVariables();
}

void AcadSession::Close() {
    // Nothing is typed into an AutoCAD that is gone or hung, not even quit.
    if (Lost()) link_.ClearWindows();
    else if (settings_.AcadClose) link_.CloseAcad();
}

// ---- starting again ---------------------------------------------------------------------------

bool AcadSession::RestartAllowed() const { return lostInARow_ < settings_.RestartLimit; }

bool AcadSession::RenewalDue() const {
    return settings_.RestartEvery > 0 && drawingsSinceStart_ >= settings_.RestartEvery;
}

bool AcadSession::WaitForProcessEnd() {
    OwnedProcess* process = link_.Process();
    if (process == nullptr) return true;  // not known: StartAcad tells whether it is still there
    const std::int64_t limit = std::max<std::int64_t>(0, std::int64_t{settings_.StartWait} * 1000);
    const std::int64_t start = platform_.clock.NowMs();
    for (;;) {
        const std::int64_t left = limit - (platform_.clock.NowMs() - start);
        const int slice = static_cast<int>(std::clamp<std::int64_t>(left, 0, ProcessWaitSlice));
        if (process->WaitForEnd(slice)) return true;
        if (left <= 0) return false;
        platform_.messages.ProcessPendingMessages();
        if (canceled_) return false;
    }
}

RestartOutcome AcadSession::Restart() {
    // Its main window is gone, or it did not take a command text in time:
    // either way it no longer answers, and ending it ends only that process.
    const bool hung = link_.AcadNotAnswering();
    link_.ClearWindows();
    OwnedProcess* process = link_.Process();
    // One that cannot be ended would still hold its windows beside a new one.
    if (hung && process == nullptr) return RestartOutcome::Failed;
    if (hung) process->End();
    if (!WaitForProcessEnd()) {
        if (canceled_) return RestartOutcome::Canceled;
        // Without its main window, but still running (a crash report holds
        // it, or it ends its windows one by one): it will not answer again.
        if (hung) return RestartOutcome::Failed;
        process->End();
        if (!WaitForProcessEnd()) return canceled_ ? RestartOutcome::Canceled : RestartOutcome::Failed;
    }
    return StartAgain();
}

RestartOutcome AcadSession::Renew() {
    RestoreVariables();
    link_.CloseAcad();
    prompted_ = false;
    if (!WaitForProcessEnd()) {
        // It did not close (a question of its own holds it); it answers, so
        // it is not ended, but it is no longer this run's AutoCAD.
        acadGone_ = true;
        return canceled_ ? RestartOutcome::Canceled : RestartOutcome::Failed;
    }
    return StartAgain();
}

RestartOutcome AcadSession::StartAgain() {
    if (canceled_) return RestartOutcome::Canceled;
    if (Start() != AcadReady) {
        acadGone_ = true;  // no AutoCAD to speak to, nor to close
        return RestartOutcome::Failed;
    }
    // A Cancel meanwhile still lets it reach its prompt (or ends it), so
    // that it is closed, not left at its startup dialog.
    if (WaitForFirstPrompt()) return canceled_ ? RestartOutcome::Canceled : RestartOutcome::Failed;
    if (canceled_) return RestartOutcome::Canceled;
    if (!SetUpVariables()) return RestartOutcome::Failed;
    return RestartOutcome::Restarted;
}

}  // namespace tovimo
