#pragma once
// Forms a drawing's SubDir while a walk goes down and up the folders: every
// folder entered adds "\" and its name, every folder left takes it off again.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tovimo {

class SubDirPath {
public:
    void Enter(std::string_view folderName);
    void Leave();
    // The SubDir of a drawing found in the folder entered last; empty at the
    // top, outside every folder.
    const std::string& Text() const { return text_; }
    std::size_t Depth() const { return lengths_.size(); }

private:
    std::string text_;
    std::vector<std::size_t> lengths_;  // length of text_ before each Enter
};

}  // namespace tovimo
