#include "console_text.h"

#include "platform/narrow_text.h"
#include "platform/win32_api.h"

namespace tovimo::win32 {

namespace {

std::wstring ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int chars = ::MultiByteToWideChar(ProgramCodePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars > 0 ? chars : 0), L'\0');
    if (chars > 0) ::MultiByteToWideChar(ProgramCodePage, 0, text.data(), length, wide.data(), chars);
    return wide;
}

void WriteLine(DWORD stream, const std::string& line) {
    HANDLE handle = ::GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
        const std::wstring wide = ToWide(line) + L"\r\n";
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string bytes = line + "\r\n";
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

ProgramArguments ReadProgramArguments() {
    ProgramArguments result;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return result;
    for (int i = 1; i < count; ++i) {
        std::optional<std::string> arg = ToNarrowExactly(wide[i], ProgramCodePage);
        if (!arg) {
            if (!result.unrepresentable) result.unrepresentable = ToNarrowShown(wide[i], ProgramCodePage);
            continue;
        }
        result.args.push_back(std::move(*arg));
    }
    ::LocalFree(wide);
    return result;
}

void Win32ConsoleOutput::Out(const std::string& line) { WriteLine(STD_OUTPUT_HANDLE, line); }
void Win32ConsoleOutput::Err(const std::string& line) { WriteLine(STD_ERROR_HANDLE, line); }

}  // namespace tovimo::win32
