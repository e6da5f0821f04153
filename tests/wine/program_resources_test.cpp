// What Explorer and the loader read from each program file: the version
// information, its texts byte for byte in code page 932 as the "A"
// functions give them, and the application manifest.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32_api.h"
#include "test_files.h"

namespace tovimo::wine_tests {
namespace {

struct ProgramFile {
    const char* file;
    const char* productName;
    const char* description;
};

void PrintTo(const ProgramFile& program, std::ostream* os) { *os << program.file; }

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path) {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) return;
        data_.resize(size);
        if (!::GetFileVersionInfoA(path.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool Found() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        return static_cast<const VS_FIXEDFILEINFO*>(Query("\\", sizeof(VS_FIXEDFILEINFO)));
    }
    std::vector<WORD> Translation() const {
        UINT length = 0;
        void* value = nullptr;
        std::vector<WORD> words;
        if (!Found() || !::VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length))
            return words;
        const WORD* w = static_cast<const WORD*>(value);
        words.assign(w, w + length / sizeof(WORD));
        return words;
    }
    // A text of the Japanese block; "(none)" when it is missing.
    std::string Text(const std::string& name) const {
        UINT length = 0;
        void* value = nullptr;
        const std::string key = "\\StringFileInfo\\041103a4\\" + name;
        if (!Found() || !::VerQueryValueA(data_.data(), key.c_str(), &value, &length) || !value)
            return "(none)";
        return static_cast<const char*>(value);
    }

private:
    const void* Query(const char* key, std::size_t minimum) const {
        UINT length = 0;
        void* value = nullptr;
        if (!Found() || !::VerQueryValueA(data_.data(), key, &value, &length) || length < minimum)
            return nullptr;
        return value;
    }
    std::vector<char> data_;
};

// The manifest the loader takes for the process (resource 1 of type 24).
std::string Manifest(const std::string& path) {
    HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return "";
    std::string text;
    if (HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const DWORD size = ::SizeofResource(module, found);
        if (HGLOBAL loaded = ::LoadResource(module, found))
            text.assign(static_cast<const char*>(::LockResource(loaded)), size);
    }
    ::FreeLibrary(module);
    return text;
}

class ProgramResources : public ::testing::TestWithParam<ProgramFile> {};

TEST_P(ProgramResources, VersionOneNinetyWithJapaneseTextsInCodePage932) {
    const ProgramFile& program = GetParam();
    const VersionInfo info(BinFolder() + program.file);
    ASSERT_TRUE(info.Found()) << ::GetLastError();
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 90u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 90u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(info.Translation(), (std::vector<WORD>{0x0411, 932}));

    EXPECT_EQ(info.Text("ProductName"), program.productName);
    EXPECT_EQ(info.Text("FileVersion"), "1.90");
    EXPECT_EQ(info.Text("ProductVersion"), "1.90");
    EXPECT_EQ(info.Text("OriginalFilename"), program.file);
    // The literal here is compiled to code page 932: the text must have
    // come through the resource compiler and back unchanged.
    EXPECT_EQ(info.Text("FileDescription"), program.description);
}

TEST_P(ProgramResources, ManifestAsksForVisualStylesNoElevationAndPerMonitorScaling) {
    const std::string manifest = Manifest(BinFolder() + GetParam().file);
    ASSERT_FALSE(manifest.empty());
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "level=\"asInvoker\"",
          ">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramResources,
    ::testing::Values(
        ProgramFile{"Tovimo.exe", "Tovimo", "Tovimo AutoCAD図面の一括DXF/DWG変換"},
        ProgramFile{"TovimoCmd.exe", "Tovimo", "Tovimo コマンドライン版 (AutoCAD図面の一括DXF/DWG変換)"},
        ProgramFile{"Pelkadu.exe", "Pelkadu", "Pelkadu AutoCAD起動時のダイアログを閉じる補助プログラム"}),
    [](const ::testing::TestParamInfo<ProgramFile>& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

}  // namespace
}  // namespace tovimo::wine_tests
