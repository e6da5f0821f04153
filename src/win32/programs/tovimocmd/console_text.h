#pragma once
// The text of TovimoCmd's command line and console, in code page 932.
#include <optional>
#include <string>
#include <vector>

#include "console/console_output.h"

namespace tovimo::win32 {

// The code page of every text the program handles.
constexpr unsigned ProgramCodePage = 932;

struct ProgramArguments {
    std::vector<std::string> args;  // after the program's name
    // An argument with characters that code page 932 lacks; such a path
    // could only be typed wrongly into AutoCAD.
    std::optional<std::string> unrepresentable;
};

// The arguments as the system splits the command line (CommandLineToArgvW),
// taken from its wide form and then converted: a split of the ANSI form
// could take the "\" trail byte of a character such as "ソ" before a
// closing quote for an escaped quote.
ProgramArguments ReadProgramArguments();

// Lines to the console in the console's own characters (so that they read
// right whatever its code page), and as code page 932 bytes with CR LF
// when the stream is redirected to a file or a pipe.
class Win32ConsoleOutput : public ConsoleOutput {
public:
    void Out(const std::string& line) override;
    void Err(const std::string& line) override;
};

}  // namespace tovimo::win32
