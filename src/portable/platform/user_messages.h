#pragma once
#include <string>

namespace tovimo {

// A message to the user: a box with an OK button and no icon in the window
// program, a line on the console in the console program.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
};

}  // namespace tovimo
