#include "drawings/walk_problem.h"

namespace tovimo {

namespace {

// More lines than this would not fit a message box on the screen.
constexpr std::size_t MessageLines = 20;

}  // namespace

const char* WalkProblemText(WalkProblemKind kind) {
    switch (kind) {
        case WalkProblemKind::Unreadable: return "フォルダを読めません";
        case WalkProblemKind::PathTooLong: return "パスが長すぎます";
        case WalkProblemKind::NoCp932Name: return "名前をShift-JISで表せません";
    }
    return "";
}

std::string WalkProblemsMessage(const std::vector<WalkProblem>& problems) {
    if (problems.empty()) return std::string();
    std::string text = "次のフォルダやファイルは読み取れないため、一覧に加えていません (" +
                       std::to_string(problems.size()) + " 件):";
    const std::size_t shown = problems.size() <= MessageLines ? problems.size() : MessageLines - 1;
    for (std::size_t i = 0; i < shown; ++i) {
        text += "\n";
        text += problems[i].path;
        text += "  (";
        text += WalkProblemText(problems[i].kind);
        text += ")";
    }
    if (shown < problems.size())
        text += "\nほか " + std::to_string(problems.size() - shown) + " 件";
    return text;
}

}  // namespace tovimo
