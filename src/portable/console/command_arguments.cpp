#include "console/command_arguments.h"

#include "drawings/path_parts.h"

namespace tovimo {

namespace {

bool IsOption(const std::string& arg) { return arg.size() >= 2 && arg[0] == '/'; }

}  // namespace

const char* UsageText() {
    return "使い方:\n"
           "  TovimoCmd dxf [オプション] パス...   DWG 図面を DXF で保存します (マクロ \"dwgtodxf\")\n"
           "  TovimoCmd dwg [オプション] パス...   DXF 図面を DWG で保存します (マクロ \"dxftodwg\")\n"
           "    /s          指定したフォルダのサブフォルダの図面も変換します\n"
           "    /o フォルダ  変換後のファイルを各図面の横ではなく、このフォルダに保存します\n"
           "    /k, /-k     /o と共に: 指定したフォルダのサブフォルダ構成を再現する (しない)\n"
           "    /y, /n      既にある変換後のファイルを上書きする、またはその図面を飛ばす\n"
           "    /ini ファイル  プログラムの横の tovimo.ini の代わりにこの設定ファイルを読みます\n"
           "    /?          この使い方を表示します\n"
           "  パス: 図面ファイルとフォルダ、いくつでも。\n"
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
    std::size_t next = 0;
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
    ++next;

    for (; next < args.size(); ++next) {
        const std::string& arg = args[next];
        if (!IsOption(arg)) {
            result.paths.push_back(arg);
            continue;
        }
        const std::string option = LowerCaseAnsi(arg);
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (next + 1 >= args.size() || args[next + 1].empty()) {
                parsed.error = arg + " の後に" + what + "を指定してください。";
                return std::nullopt;
            }
            return args[++next];
        };
        if (option == "/?") {
            result.usage = true;
        } else if (option == "/s") {
            result.childFolders = true;
        } else if (option == "/k") {
            result.saveChildDir = true;
        } else if (option == "/-k") {
            result.saveChildDir = false;
        } else if (option == "/y") {
            result.rewrite = true;
        } else if (option == "/n") {
            result.rewrite = false;
        } else if (option == "/o") {
            auto folder = value("フォルダ");
            if (!folder) return parsed;
            result.saveDir = *folder;
        } else if (option == "/ini") {
            auto file = value("設定ファイル");
            if (!file) return parsed;
            result.iniFile = *file;
        } else {
            parsed.error = "知らないオプションです: " + arg;
            return parsed;
        }
    }
    if (result.saveChildDir && !result.saveDir) {
        parsed.error = "/k と /-k は /o と共に指定してください。";
        return parsed;
    }
    if (!result.usage && result.paths.empty()) {
        parsed.error = "変換する図面ファイルかフォルダを指定してください。";
        return parsed;
    }
    parsed.arguments = result;
    return parsed;
}

}  // namespace tovimo
