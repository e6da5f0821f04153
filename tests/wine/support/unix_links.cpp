#include "unix_links.h"

#include <string>

#include "platform/win32_api.h"
#include "wait_until.h"

namespace tovimo::wine_tests {

namespace {

std::wstring Wide(const std::string& text, UINT codePage) {
    const int length = ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

// The Unix path of a Windows path, as Wine maps it (UTF-8); empty when Wine
// cannot tell.
std::wstring UnixPath(const std::string& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    static const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!toUnix) return std::wstring();
    char* unix = toUnix(Wide(path, CP_ACP).c_str());
    if (!unix) return std::wstring();
    std::wstring result = Wide(unix, CP_UTF8);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

// Wine starts a Unix program given by its path; it runs on by itself, so
// its effect is waited for instead.
bool RunUnix(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    if (process.hThread) ::CloseHandle(process.hThread);
    if (process.hProcess) ::CloseHandle(process.hProcess);
    return true;
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

UnixFolderLink::UnixFolderLink(const std::string& link, const std::string& target) : link_(link) {
    const std::wstring unixLink = UnixPath(link);
    const std::wstring unixTarget = UnixPath(target);
    if (unixLink.empty() || unixTarget.empty()) return;
    if (!RunUnix(L"Z:\\bin\\ln -s \"" + unixTarget + L"\" \"" + unixLink + L"\"")) return;
    made_ = WaitUntil([&] { return Exists(link_); }, 10000);
}

UnixFolderLink::~UnixFolderLink() {
    if (!Exists(link_)) return;
    const std::wstring unixLink = UnixPath(link_);
    // rm without -r removes a link and refuses a real folder.
    if (!unixLink.empty() && RunUnix(L"Z:\\bin\\rm \"" + unixLink + L"\""))
        WaitUntil([&] { return !Exists(link_); }, 10000);
}

}  // namespace tovimo::wine_tests
