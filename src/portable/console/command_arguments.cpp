#include "console/command_arguments.h"

#include "drawings/path_parts.h"

namespace tovimo {

namespace {

bool IsOption(const std::string& arg) { return arg.size() >= 2 && arg[0] == '/'; }

// Walks the arguments after the direction; the first refusal ends the walk.
class ArgumentWalk {
public:
    ArgumentWalk(const std::vector<std::string>& args, CommandArguments& result)
        : args_(args), result_(result) {}

    // Empty when every argument was taken, else why not.
    std::string Walk(std::size_t first) {
        for (next_ = first; next_ < args_.size() && error_.empty(); ++next_) {
            const std::string& arg = args_[next_];
            if (arg.empty()) {
                error_ = "空のパスは指定できません。";
            } else if (IsOption(arg)) {
                TakeOption(arg);
            } else {
                result_.paths.push_back(arg);
            }
        }
        return error_;
    }

private:
    void TakeOption(const std::string& arg) {
        const std::string option = LowerCaseAnsi(arg);
        if (option == "/?") {
            result_.usage = true;
        } else if (option == "/s") {
            result_.childFolders = true;
        } else if (option == "/k" || option == "/-k") {
            SetSwitch(result_.saveChildDir, option == "/k", "/k と /-k");
        } else if (option == "/y" || option == "/n") {
            SetSwitch(result_.rewrite, option == "/y", "/y と /n");
        } else if (option == "/u") {
            result_.update = true;
        } else if (option == "/o") {
            TakeValue(arg, "フォルダ", result_.saveDir);
        } else if (option == "/ini") {
            TakeValue(arg, "設定ファイル", result_.iniFile);
        } else if (option == "/f") {
            TakeValue(arg, "一覧ファイル", result_.failedList);
        } else if (option == "/log") {
            TakeValue(arg, "ログファイル", result_.runLog);
        } else if (option == "/j") {
            TakeValue(arg, "同時に起動するAutoCADの数", result_.acadCount);
        } else if (option == "/shard") {
            TakeShard(arg);
        } else {
            error_ = "知らないオプションです: " + arg;
        }
    }

    void TakeShard(const std::string& arg) {
        if (result_.shard) {
            error_ = arg + " は一度だけ指定してください。";
            return;
        }
        std::optional<std::string> value;
        TakeValue(arg, "分担 (K/N)", value);
        if (!value) return;
        result_.shard = ParseRunShard(*value);
        if (!result_.shard)
            error_ = arg + " の後には分担 K/N (N は 1 から " + std::to_string(MaxShards) +
                     "、K は 1 から N) を指定してください: " + *value;
    }

    // A switch and its opposite contradict each other; the same one twice
    // does no harm.
    void SetSwitch(std::optional<bool>& setting, bool value, const char* pair) {
        if (setting && *setting != value) {
            error_ = std::string(pair) + " は同時に指定できません。";
            return;
        }
        setting = value;
    }

    // The argument after the option is its value. An option in its place
    // means the value was forgotten: "/o /s D:\図面" must not save into a
    // folder named "/s".
    void TakeValue(const std::string& arg, const char* what, std::optional<std::string>& value) {
        if (value) {
            error_ = arg + " は一度だけ指定してください。";
            return;
        }
        if (next_ + 1 >= args_.size() || args_[next_ + 1].empty() || IsOption(args_[next_ + 1])) {
            error_ = arg + " の後に" + what + "を指定してください。";
            return;
        }
        value = args_[++next_];
    }

    const std::vector<std::string>& args_;
    CommandArguments& result_;
    std::size_t next_ = 0;
    std::string error_;
};

}  // namespace

const char* UsageText() {
    return "使い方:\n"
           "  TovimoCmd dxf [オプション] パス...   DWG 図面を DXF で保存します (マクロ \"dwgtodxf\")\n"
           "  TovimoCmd dwg [オプション] パス...   DXF 図面を DWG で保存します (マクロ \"dxftodwg\")\n"
           "    /s          指定したフォルダのサブフォルダの図面も変換します\n"
           "    /o フォルダ  変換後のファイルを各図面の横ではなく、このフォルダに保存します\n"
           "    /k, /-k     /o と共に: 指定したフォルダのサブフォルダ構成を再現する (しない)\n"
           "    /y, /n      既にある変換後のファイルを上書きする、またはその図面を飛ばす\n"
           "    /u          更新: 変換後のファイルが最新の図面を省き、それ以外は変換します\n"
           "                (変換後のファイルは上書き)。最新とは、変換後のファイルが空でなく、\n"
           "                その更新日時が図面の更新日時と 2 秒以内で同じこと (変換した\n"
           "                ファイルには図面の更新日時を付けます)。マクロに #SAVEFILE の行が要ります\n"
           "    /j 数       AutoCADをこの数 (1 から 8) 同時に起動して変換します (設定 AcadCount)。\n"
           "                2 以上には AutoCADのプログラム (AcadPath) の指定と、それだけの数の\n"
           "                AutoCADを同時に起動できるライセンスが要ります\n"
           "    /shard K/N  分担: 図面を N に分けた K 番目の分だけ変換します (複数の端末で\n"
           "                一つの一覧を変換するとき)。分け方は変換後のファイルのパス\n"
           "                (#SAVEFILE のないマクロでは図面のパス) だけで決まります\n"
           "    /ini ファイル  プログラムの横の tovimo.ini の代わりにこの設定ファイルを読みます\n"
           "    /f ファイル    変換されなかった図面のフルパスをこのファイルに書きます (1行に1つ)\n"
           "    /log ファイル  実行ログをこのファイルに作ります (CSV、UTF-8): 図面ごとに番号、図面、\n"
           "                変換後のファイル、結果 (変換済/未変換/省略)、理由、秒数\n"
           "    /?          この使い方を表示します\n"
           "  パス: 図面ファイルとフォルダ、いくつでも。\n"
           "  @ファイル: /f で書いた一覧のパスを読みます (例: TovimoCmd dxf @failed.txt)。\n"
           "  その他の設定 (マクロ、待ち時間、AutoCAD など) は設定ファイルから読みます。\n"
           "  マクロに #SAVEFILE の行があれば、変換後のファイルが書かれたかを確かめます\n"
           "  (書かれていない図面は変換されなかった図面に入ります)。#SAVEFILE のないマクロは確かめません。\n"
           "  Ctrl+C: 変換中の図面を終えてから中断します。\n"
           "  /u で省いた図面は「最新のため省略: 件数」と数え、失敗にも /f の一覧にも入れません。\n"
           "終了コード: 0 全て変換, 1 変換されなかった図面あり, 2 中断, 3 AutoCADを起動できない,\n"
           "  4 別のAutoCADが起動中, 5 引数・設定の誤り、図面なし、マクロが空\n";
}

ParsedArguments ParseCommandArguments(const std::vector<std::string>& args) {
    ParsedArguments parsed;
    CommandArguments result;
    if (args.empty()) {
        parsed.error = "変換の方向 (dxf または dwg) とパスを指定してください。";
        return parsed;
    }
    if (args[0] == "/?") {
        result.usage = true;
        parsed.arguments = result;
        return parsed;
    }
    const std::string direction = LowerCaseAnsi(args[0]);
    if (direction == "dxf") {
        result.direction = ConvertDirection::ToDxf;
    } else if (direction == "dwg") {
        result.direction = ConvertDirection::ToDwg;
    } else {
        parsed.error = "最初の引数は dxf か dwg です: " + args[0];
        return parsed;
    }

    parsed.error = ArgumentWalk(args, result).Walk(1);
    if (!parsed.error.empty()) return parsed;
    if (result.usage) {
        parsed.arguments = result;
        return parsed;
    }
    if (result.update && result.rewrite) {
        parsed.error = "/u と /y、/n は同時に指定できません。";
        return parsed;
    }
    if (result.saveChildDir && !result.saveDir) {
        parsed.error = "/k と /-k は /o と共に指定してください。";
        return parsed;
    }
    if (result.paths.empty()) {
        parsed.error = "変換する図面ファイルかフォルダを指定してください。";
        return parsed;
    }
    parsed.arguments = result;
    return parsed;
}

}  // namespace tovimo
