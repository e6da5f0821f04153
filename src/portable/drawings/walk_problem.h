#pragma once
// What a folder walk met but could not reach: reported to the user with the
// drawings not converted, never passed over in silence.
#include <string>
#include <vector>

namespace tovimo {

enum class WalkProblemKind {
    Unreadable,   // a folder that may not be read
    PathTooLong,  // a folder whose path is longer than the file functions take
    NoCp932Name,  // a file or folder whose name code page 932 cannot write
};

struct WalkProblem {
    std::string path;  // the full path; "?" stands for what has no code page 932 form
    WalkProblemKind kind;
};

// A short Japanese text for the kind, for the front ends.
const char* WalkProblemText(WalkProblemKind kind);

// The text of one message that names every problem of a drop with its
// reason; a long list is cut and ends with how many more there are. Empty
// when there is none.
std::string WalkProblemsMessage(const std::vector<WalkProblem>& problems);

}  // namespace tovimo
