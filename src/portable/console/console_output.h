#pragma once
#include <string>

namespace tovimo {

// The two streams of the console program. Each call is one line, given
// without its line end; texts are code page 932.
class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    // Progress and results: standard output.
    virtual void Out(const std::string& line) = 0;
    // Errors and warnings: standard error.
    virtual void Err(const std::string& line) = 0;
};

}  // namespace tovimo
