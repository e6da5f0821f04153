#include "standin_options.h"

#include <cctype>
#include <charconv>

#include "standin_text_compare.h"

namespace tovimo::standin {

namespace {

// "/cmddelay:250" -> 250 when the value is a whole number of 0 or more.
bool ReadWholeNumber(std::string_view value, int& out) {
    int parsed = 0;
    const auto* end = value.data() + value.size();
    const auto result = std::from_chars(value.data(), end, parsed);
    if (value.empty() || result.ec != std::errc() || result.ptr != end || parsed < 0) return false;
    out = parsed;
    return true;
}

bool ApplySwitch(StandinOptions& options, std::string_view body) {
    const auto colon = body.find(':');
    const std::string name = UpperAscii(body.substr(0, colon));
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view{} : body.substr(colon + 1);
    const bool hasValue = colon != std::string_view::npos;

    if (!hasValue) {
        if (name == "LT") options.product = Product::Lt;
        else if (name == "FULL") options.product = Product::Full;
        else if (name == "HALFWIDTH") options.kana = KanaForm::HalfWidth;
        else if (name == "FULLWIDTH") options.kana = KanaForm::FullWidth;
        else if (name == "STARTUP") options.startupDialog = true;
        else if (name == "NOSTARTUP") options.startupDialog = false;
        else if (name == "DIRTY") options.changedFromStart = true;
        else if (name == "UNICODE") options.unicode = true;
        else if (name == "ANSI") options.unicode = false;
        else return false;
        return true;
    }
    if (name == "LOG") {
        if (value.empty()) return false;
        options.logPath = std::string(value);
        return true;
    }
    int* delay = name == "STARTDELAY" ? &options.startDelayMs
               : name == "CMDDELAY"   ? &options.commandDelayMs
               : name == "OPENDELAY"  ? &options.openDelayMs
               : name == "SAVEDELAY"  ? &options.saveDelayMs
                                      : nullptr;
    if (name == "SDI") {
        int sdi = 0;
        if (UpperAscii(value) == "NONE") sdi = StandinOptions::NoSdi;
        else if (!ReadWholeNumber(value, sdi) || sdi > 3) return false;
        options.sdi = sdi;
        return true;
    }
    return delay && ReadWholeNumber(value, *delay);
}

}  // namespace

void ApplyArguments(StandinOptions& options, const std::vector<std::string>& arguments) {
    for (const auto& argument : arguments) {
        if (argument.empty()) continue;
        if (argument.front() == '/') {
            if (!ApplySwitch(options, std::string_view(argument).substr(1)))
                options.ignored.push_back(argument);
        } else {
            options.drawing = argument;
        }
    }
}

StandinOptions ParseOptions(const std::vector<std::string>& arguments) {
    StandinOptions options;
    ApplyArguments(options, arguments);
    return options;
}

std::vector<std::string> SplitArguments(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                std::size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') ++slashes, ++i;
                if (i < line.size() && line[i] == '"') {
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        argument += '"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, '\\');
                }
                continue;
            }
            if (line[i] == '"') {
                // "" inside quotes stands for one quote.
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            argument += line[i++];
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::vector<std::string> ArgumentsAfterProgram(std::string_view line, std::string_view programPath) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    const std::string_view rest = line.substr(start);
    if (!programPath.empty() && rest.size() >= programPath.size() &&
        SameTextIgnoringCase(rest.substr(0, programPath.size()), programPath) &&
        (rest.size() == programPath.size() || rest[programPath.size()] == ' ' ||
         rest[programPath.size()] == '\t')) {
        return SplitArguments(rest.substr(programPath.size()));
    }
    auto arguments = SplitArguments(rest);
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

}  // namespace tovimo::standin
