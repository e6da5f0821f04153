#include "drawings/sub_dir_path.h"

namespace tovimo {

void SubDirPath::Enter(std::string_view folderName) {
    lengths_.push_back(text_.size());
    text_ += '\\';
    text_ += folderName;
}

void SubDirPath::Leave() {
    if (lengths_.empty()) return;
    text_.resize(lengths_.back());
    lengths_.pop_back();
}

}  // namespace tovimo
