#include "console_text.h"

#include "platform/win32_api.h"

namespace tovimo::win32 {

namespace {

std::optional<std::string> ToProgramText(const wchar_t* text) {
    const int length = static_cast<int>(::wcslen(text));
    if (length == 0) return std::string();
    BOOL usedDefault = FALSE;
    const int bytes = ::WideCharToMultiByte(ProgramCodePage, WC_NO_BEST_FIT_CHARS, text, length,
                                            nullptr, 0, nullptr, &usedDefault);
    std::string converted(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(ProgramCodePage, WC_NO_BEST_FIT_CHARS, text, length, converted.data(),
                              bytes, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault) return std::nullopt;
    return converted;
}

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
        std::optional<std::string> arg = ToProgramText(wide[i]);
        if (!arg) {
            if (!result.unrepresentable) {
                BOOL ignored = FALSE;
                const int length = static_cast<int>(::wcslen(wide[i]));
                std::string shown(static_cast<std::size_t>(length) * 2, '\0');
                const int bytes = ::WideCharToMultiByte(ProgramCodePage, 0, wide[i], length,
                                                        shown.data(), length * 2, nullptr, &ignored);
                shown.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
                result.unrepresentable = shown;
            }
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
