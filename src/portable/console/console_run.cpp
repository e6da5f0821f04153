#include "console/console_run.h"

#include <optional>
#include <string_view>

#include "console/command_arguments.h"
#include "console/console_settings.h"
#include "console/exit_code.h"
#include "console/not_converted.h"
#include "console/path_arguments.h"
#include "console/path_list.h"
#include "console/run_log.h"
#include "console/run_log_lines.h"
#include "console/run_shard.h"
#include "convert/result_check.h"
#include "convert/run_texts.h"
#include "convert/up_to_date.h"
#include "drawings/drawing_collection.h"
#include "runlists/run_lists.h"
#include "runlists/same_file.h"

namespace tovimo {

namespace {

constexpr const char* UsageHint = "TovimoCmd /? で使い方を表示します。";

const char* MacroSectionOf(ConvertDirection direction) {
    return direction == ConvertDirection::ToDxf ? "dwgtodxf" : "dxftodwg";
}

DrawingKind SourceKindOf(ConvertDirection direction) {
    return direction == ConvertDirection::ToDxf ? DrawingKind::Dwg : DrawingKind::Dxf;
}

const char* SourceKindName(ConvertDirection direction) {
    return direction == ConvertDirection::ToDxf ? "DWG" : "DXF";
}

void PrintLines(ConsoleOutput& output, std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        output.Out(std::string(text.substr(0, end)));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

}  // namespace

ConsoleRun::ConsoleRun(ConsolePlatform platform)
    : platform_(platform), view_(platform.output) {}

ConsoleRun::~ConsoleRun() { cancelTarget_ = nullptr; }

void ConsoleRun::RequestCancel() {
    cancelRequested_ = true;
    if (DwgDxf* converter = cancelTarget_.load()) converter->Canceled = true;
}

void ConsoleRun::RequestEnd() {
    endRequested_ = true;
    if (DwgDxf* converter = cancelTarget_.load()) converter->EndNow = true;
    RequestCancel();
}

void ConsoleRun::CancelPump::ProcessPendingMessages() {
    run_.platform_.messages.ProcessPendingMessages();
    run_.ForwardCancel();
}

void ConsoleRun::ForwardCancel() {
    if (!cancelRequested_ || !converter_) return;
    if (endRequested_) converter_->EndNow = true;
    converter_->Canceled = true;
    if (!cancelNoticeShown_) {
        cancelNoticeShown_ = true;
        platform_.output.Out("中断します: 変換中の図面を終えてから終了します"
                             " (もう一度 Ctrl+C で直ちに終了)。");
    }
}

bool ConsoleRun::WriteNotConverted(const std::vector<std::string>& paths) {
    if (failedList_.empty()) return true;
    if (platform_.lists.WriteAll(failedList_, FormatPathList(paths))) return true;
    platform_.output.Err("変換されなかった図面の一覧ファイルに書き込めません: " + failedList_);
    return false;
}

int ConsoleRun::Run(const std::vector<std::string>& args) {
    ConsoleOutput& output = platform_.output;
    const ParsedArguments parsed = ParseCommandArguments(args);
    if (!parsed.arguments) {
        output.Err(parsed.error);
        output.Err(UsageHint);
        return ExitRefused;
    }
    const CommandArguments& arguments = *parsed.arguments;
    if (arguments.usage) {
        PrintLines(output, UsageText());
        return ExitAllConverted;
    }
    const ExpandedPaths given = ExpandPathArguments(arguments.paths, platform_.lists);
    if (!given.error.empty()) {
        output.Err(given.error);
        return ExitRefused;
    }
    failedList_ = arguments.failedList.value_or("");

    const std::string programFolder = platform_.processes.ProgramFolder();
    const ConsoleSettingsResult read =
        ReadConsoleSettings(platform_.profile, platform_.files, arguments, programFolder);
    if (!read.settings) {
        for (const std::string& error : read.errors) output.Err(error);
        return ExitRefused;
    }
    const MainFormSettings& settings = read.settings->settings;

    const char* section = MacroSectionOf(arguments.direction);
    converter_ = std::make_unique<DwgDxf>(
        AcadPlatform{platform_.windows, platform_.clock, pump_, platform_.processes,
                     platform_.encoding},
        platform_.profile, platform_.files, view_, read.settings->file, section);
    converter_->SetWriteBack(false);
    cancelTarget_ = converter_.get();
    if (converter_->MacroLines.empty()) {
        output.Err(std::string("マクロ \"") + section + "\" が空です (設定ファイル " +
                   read.settings->file + ")。");
        return ExitRefused;
    }
    // Only a macro that names the result tells which file an update compares.
    if (arguments.update && !MacroNamesResult(converter_->MacroLines)) {
        output.Err(UpdateNeedsSaveFileMessage("/u", section));
        return ExitRefused;
    }

    const DrawingCollection collection =
        CollectDrawings(platform_.files, platform_.order, given.paths,
                        settings.GetChildFolder, SourceKindOf(arguments.direction));
    for (const std::string& path : collection.missingPaths)
        output.Err("パスが見つかりません: " + path);
    if (!collection.missingPaths.empty()) return ExitRefused;
    for (const std::string& path : collection.passedOverFiles)
        output.Err(std::string(SourceKindName(arguments.direction)) +
                   " 図面ではないので変換しません: " + path);
    view_.SetUnreachable(collection.unreachable);
    if (collection.drawings.empty()) {
        for (const WalkProblem& problem : collection.unreachable)
            output.Err(std::string(WalkProblemText(problem.kind)) + ": " + problem.path);
        output.Err(std::string("変換する ") + SourceKindName(arguments.direction) +
                   " 図面が見つかりません。");
        return ExitRefused;
    }

    // Until the run says otherwise, no drawing is converted: a run that
    // never ends normally leaves a list that converts everything again. A
    // list that cannot be written stops the run before anything is typed.
    std::vector<std::string> named;
    for (const TFileName& drawing : collection.drawings) named.push_back(drawing.FullPath);
    const std::vector<bool> repeated = NamedEarlier(platform_.files, named);
    std::vector<TFileName> drawings;  // each once, in the run's order
    for (std::size_t i = 0; i < named.size(); ++i)
        if (!repeated[i]) drawings.push_back(collection.drawings[i]);
    const TargetRules rules = RunTargetRules(settings);
    const bool namesResult = MacroNamesResult(converter_->MacroLines);
    // The part is taken from the whole list before anything else: the rest
    // of the run (its lists, folders, /u, the log) is the part's alone.
    if (arguments.shard)
        drawings = DrawingsOfPart(platform_.files, drawings, rules,
                                  namesResult ? std::optional(ResultExtension(section)) : std::nullopt,
                                  *arguments.shard);
    std::vector<std::string> allDrawings;
    for (const TFileName& drawing : drawings) allDrawings.push_back(drawing.FullPath);
    if (!WriteNotConverted(allDrawings)) return ExitRefused;
    std::optional<RunLog> log;
    if (arguments.runLog) {
        log.emplace(platform_.lists, platform_.clock, *arguments.runLog);
        if (!log->Begin()) {
            output.Err("ログファイルに書き込めません: " + log->Path());
            return ExitRefused;
        }
    }
    // Every end from here on: a log line never written is named, and a run
    // whose log is not whole is not complete.
    const auto ended = [&](int code) {
        if (!log) return code;
        const std::vector<std::string> unwritten = log->Finish();
        if (unwritten.empty()) return code;
        output.Err("ログファイル " + log->Path() + " に書き込めなかった行 (" +
                   std::to_string(unwritten.size()) + " 行):");
        for (const std::string& line : unwritten) output.Err("  " + line);
        return code == ExitAllConverted ? static_cast<int>(ExitSomeSkipped) : code;
    };

    // The target folders are made before AutoCAD is reached; a level that
    // cannot be made stops the run before anything is typed.
    RunLists lists = BuildRunLists(platform_.files, drawings, rules);
    if (!lists.ok) {
        output.Err("変換後のフォルダを作成できません: " + lists.failedFolder);
        return ExitRefused;
    }
    if (arguments.shard) {
        output.Out("分担 " + std::to_string(arguments.shard->part) + "/" +
                   std::to_string(arguments.shard->count) + ": " +
                   std::to_string(lists.SourceList.size()) + " 枚");
        // No AutoCAD for a part without drawings.
        if (lists.SourceList.empty()) {
            view_.ListUnreachable();
            return collection.unreachable.empty() ? ExitAllConverted : ExitSomeSkipped;
        }
    }
    std::optional<RunLogLines> logLines;
    if (log)
        logLines.emplace(*log, platform_.clock,
                         LoggedResults(lists, rules, namesResult, ResultExtension(section)));
    std::vector<std::string> keptResults;
    if (arguments.update) {
        UpdateSelection selection =
            SelectOutOfDate(platform_.files, lists, rules, ResultExtension(section));
        output.Out(PassedOverText(selection.upToDate.size()));
        if (logLines) logLines->PassOver(selection, lists.SourceList);
        lists = std::move(selection.toConvert);
        keptResults = std::move(selection.keptResults);
        // Only drawings whose result an earlier one takes: they are listed
        // as any run lists them, and no AutoCAD is started for them.
        if (selection.NothingToConvert()) {
            const std::vector<SkippedDrawing> listed = ListedAsTaken(lists.SourceList);
            if (logLines)
                logLines->Rest(lists.SourceList, RunEndLogReason(ConvertCarriedOut, false), listed);
            if (!listed.empty()) view_.ShowSkippedDrawings(listed);
            view_.ListUnreachable();
            const bool written = WriteNotConverted(lists.SourceList);
            const bool complete = listed.empty() && collection.unreachable.empty() && written;
            return ended(complete ? ExitAllConverted : ExitSomeSkipped);
        }
    }
    // Those never reached, with the reason the run ended.
    const auto logTheRest = [&](const std::string& endReason) {
        if (logLines) logLines->Rest(lists.SourceList, endReason, converter_->LastSkipped());
    };
    if (cancelRequested_) {
        logTheRest(RunEndLogReason(ConvertCarriedOut, true));
        output.Out(RunCanceledMessage);
        return ended(ExitCanceled);
    }
    view_.onDrawingStarting = [&](int index) {
        if (logLines) logLines->Starting(static_cast<std::size_t>(index));
    };
    view_.onDrawingEnded = [&](int index, const std::string& source,
                               std::optional<SkipReason> reason, const std::string& acadShown) {
        if (logLines) logLines->Ended(static_cast<std::size_t>(index), source, reason, acadShown);
    };

    converter_->SetAcadPath(settings.AcadPath);
    RunOutcome outcome;
    outcome.result = converter_->ConvertFiles(lists.SourceList, lists.TargetList,
                                              RunSettings(settings), keptResults);
    outcome.canceled = converter_->Canceled;
    outcome.skipped = converter_->LastSkipped().size() + collection.unreachable.size();
    outcome.acadLost = converter_->LastRunLostAcad();
    const bool listWritten = WriteNotConverted(
        NotConvertedPaths(lists.SourceList, view_.DrawingsStarted(), converter_->LastSkipped()));
    if (outcome.result == ConvertStartFailed && !outcome.canceled)
        output.Err(AcadStartFailedMessage);
    // Cancelled while AutoCAD started: the start was given up, not failed.
    if (outcome.result == ConvertStartFailed && outcome.canceled)
        output.Out(RunCanceledMessage);
    if (outcome.result == ConvertOtherAcadRunning) output.Err(OtherAcadRunningMessage);
    logTheRest(RunEndLogReason(outcome.result, outcome.canceled));
    if (outcome.result == ConvertCarriedOut && converter_->LastRunAcadNotAnswering())
        output.Err("AutoCADが応答しないため、作業を最後まで行えませんでした。");
    else if (outcome.result == ConvertCarriedOut && outcome.acadLost)
        output.Err("AutoCADが終了したため、作業を最後まで行えませんでした。");
    // A run that never reached AutoCAD showed no list.
    view_.ListUnreachable();
    // A batch that goes by the list must not take a run whose list is
    // missing for a complete one.
    const ExitCode code = ExitCodeOf(outcome);
    return ended(!listWritten && code == ExitAllConverted ? ExitSomeSkipped : code);
}

}  // namespace tovimo
