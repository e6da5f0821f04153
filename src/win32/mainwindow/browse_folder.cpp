#include "mainwindow/browse_folder.h"

#include "platform/com_apartment.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace tovimo::win32 {

namespace {

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    // Wine's picker tells folders apart by their last-access times too, and
    // its own look-up of the path reads (and so touches) the folders along
    // it: a folder whose content changed since it was last read then no
    // longer matches the one shown, and the folder is not found. A second
    // look-up finds the times settled. Where the first one took, the second
    // selects the same folder again.
    if (message == BFFM_INITIALIZED && data != 0) {
        if (!::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data))
            ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

BOOL CALLBACK DisableThreadWindow(HWND window, LPARAM list) {
    if (::IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        ::EnableWindow(window, FALSE);
    }
    return TRUE;
}

}  // namespace

bool BrowseFolder(HWND owner, const std::string& title, const std::wstring& rootName,
                  std::string& folder) {
    bool result = false;
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) folder.clear();

    IMalloc* allocator = nullptr;
    // COM on this thread (whichever calls), kept for the thread's life.
    EnsureComApartment();
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator) return false;
    char* buffer = static_cast<char*>(allocator->Alloc(MAX_PATH));
    if (!buffer) {
        allocator->Release();
        return false;
    }
    buffer[0] = '\0';

    LPITEMIDLIST root = nullptr;
    if (!rootName.empty()) {
        IShellFolder* desktop = nullptr;
        if (SUCCEEDED(::SHGetDesktopFolder(&desktop)) && desktop) {
            std::wstring name = rootName;
            if (FAILED(desktop->ParseDisplayName(owner, nullptr, name.data(), nullptr, &root, nullptr)))
                root = nullptr;
            desktop->Release();
        }
    }

    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pidlRoot = root;
    browse.pszDisplayName = buffer;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    if (!folder.empty()) {
        browse.lpfn = BrowseCallback;
        browse.lParam = reinterpret_cast<LPARAM>(folder.c_str());
    }

    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&browse);
    ::SetErrorMode(previousMode);
    for (HWND window : disabled) ::EnableWindow(window, TRUE);

    if (chosen) {
        result = true;
        if (::SHGetPathFromIDListA(chosen, buffer)) folder = buffer;
        allocator->Free(chosen);
    }
    if (root) allocator->Free(root);
    allocator->Free(buffer);
    allocator->Release();
    return result;
}

}  // namespace tovimo::win32
