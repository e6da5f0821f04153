#include "convert/skipped_drawing.h"

namespace tovimo {

const char* SkipReasonText(SkipReason reason) {
    switch (reason) {
        case SkipReason::ResultExists: return "変換後のファイルが既にあります";
        case SkipReason::OpenFailed: return "AutoCADで開けませんでした";
        case SkipReason::TimeLimit: return "AutoCADが待ち時間の上限までに応答しませんでした";
        case SkipReason::PathTooLong: return "パスが長すぎます (コマンドが255バイトを超えます)";
        case SkipReason::AcadGone: return "AutoCADが終了したため変換できませんでした";
        case SkipReason::ResultNotWritten: return "変換後のファイルが作られていません";
        case SkipReason::AcadNotAnswering: return "AutoCADが応答しません";
        case SkipReason::NoUnicodeForm: return "AutoCADに送る文字をUnicodeに変換できません";
        case SkipReason::TargetTaken: return "同じ名前の変換後ファイルになる図面が先にあります";
        case SkipReason::AcadRestartFailed: return "AutoCADを起動し直せませんでした";
    }
    return "";
}

}  // namespace tovimo
