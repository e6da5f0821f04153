#pragma once
// Folder links as Unix makes them (ln -s). Wine shows a Unix link to a
// folder as a folder with the reparse-point attribute, as Windows shows a
// junction or a directory symbolic link.
#include <string>

namespace tovimo::wine_tests {

class UnixFolderLink {
public:
    // Makes link (a code page 932 path whose folder exists) point at target.
    UnixFolderLink(const std::string& link, const std::string& target);
    // Removes the link itself, never what it points at.
    ~UnixFolderLink();
    UnixFolderLink(const UnixFolderLink&) = delete;
    UnixFolderLink& operator=(const UnixFolderLink&) = delete;

    bool Made() const { return made_; }

private:
    std::string link_;
    bool made_ = false;
};

}  // namespace tovimo::wine_tests
