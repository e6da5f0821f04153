#pragma once
// How one stand-in AutoCAD behaves, taken from its command line and from the
// environment variable STANDIN_ACAD_OPTIONS (README.md lists the switches).
#include <string>
#include <string_view>
#include <vector>

namespace tovimo::standin {

enum class Product { Lt, Full };            // AutoCAD LT 2000 or AutoCAD 2000
enum class KanaForm { HalfWidth, FullWidth };  // ｺﾏﾝﾄﾞ or コマンド

struct StandinOptions {
    Product product = Product::Lt;
    KanaForm kana = KanaForm::HalfWidth;
    bool startupDialog = false;
    int startDelayMs = 0;    // before the windows appear
    int commandDelayMs = 0;  // after each Enter, before the answer shows
    int openDelayMs = 0;     // reading a drawing
    int saveDelayMs = 0;     // writing a drawing
    bool changedFromStart = false;
    // SDI at start: 0 several drawings open side by side (AutoCAD's
    // default), 1 one at a time, 2 and 3 one at a time forced by
    // applications; NoSdi: a release before SDI, one drawing at a time.
    static constexpr int NoSdi = -1;
    int sdi = 0;
    // Built for Unicode, as every AutoCAD since the 2007 release: its windows
    // are Unicode windows, and it reads the text of WM_COPYDATA as UTF-16.
    bool unicode = false;
    std::string drawing;     // the drawing it was started with; empty: none
    std::string logPath;     // empty: no log
    // Arguments that were not understood, kept for the log.
    std::vector<std::string> ignored;
};

// Name of the environment variable whose switches come before the command line's.
inline constexpr const char* OptionsVariable = "STANDIN_ACAD_OPTIONS";

// Applies the arguments in order onto options; a later switch wins.
void ApplyArguments(StandinOptions& options, const std::vector<std::string>& arguments);
StandinOptions ParseOptions(const std::vector<std::string>& arguments);

// Splits a command line into arguments the way the Microsoft C runtime does:
// blanks separate, double quotes group, backslashes escape only quotes.
std::vector<std::string> SplitArguments(std::string_view commandLine);

// The arguments after the program on a full command line. The program may
// stand unquoted with blanks in its path ("C:\Program Files\a.exe /lt"): when
// the line starts with programPath (letter case aside) it is cut off whole.
std::vector<std::string> ArgumentsAfterProgram(std::string_view commandLine,
                                               std::string_view programPath);

}  // namespace tovimo::standin
