#include "convert/run_texts.h"

namespace tovimo {

std::string RunEndMessage(bool canceled, const std::string& note) {
    const std::string message = canceled ? RunCanceledMessage : RunFinishedMessage;
    return note.empty() ? message : message + "\n" + note;
}

std::string PassedOverText(std::size_t count) {
    return std::string(UpToDateReason) + ": " + std::to_string(count);
}

std::string UpdateNeedsSaveFileMessage(const std::string& update, const std::string& section) {
    return update + " は変換後のファイル名を知る必要がありますが、マクロ \"" + section +
           "\" に #SAVEFILE の行がありません。";
}

std::string AcadCountRangeMessage(int value) {
    return "同時に起動するAutoCADの数 (AcadCount) は 1 から 8 にしてください: " +
           std::to_string(value);
}

std::string AcadCountNeedsPathMessage() {
    // Opening Drawing1.dwg through its association usually reaches the
    // AutoCAD that is running already instead of starting another.
    return "AutoCADを2つ以上同時に起動するには (AcadCount)、AutoCADのプログラム "
           "(AcadPath、「AutoCAD指定」) を指定してください。"
           "図面の関連付けでは、起動中のAutoCADに図面が渡されてしまいます。";
}

}  // namespace tovimo
