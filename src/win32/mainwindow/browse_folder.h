#pragma once
// The folder picker of the shell, opened at a given folder.
#include <string>

#include "platform/win32_api.h"

namespace tovimo::win32 {

// folder in and out: the picker opens with it selected when it is an
// existing folder (else folder becomes empty and nothing is preselected);
// on OK it becomes the chosen folder's path (a drive root with its "\").
// True when the user chose a folder. owner is the program's window.
bool BrowseFolder(HWND owner, const std::string& title, const std::wstring& rootName,
                  std::string& folder);

}  // namespace tovimo::win32
