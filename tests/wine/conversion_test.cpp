// Conversion runs from end to end: DwgDxf on the Win32 side, typing into a
// real stand-in AutoCAD process (whose startup dialog Pelkadu presses away),
// with the macros and settings of the sample settings file, on copies of the
// sample drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "acad_on_win32.h"
#include "convert/dwg_dxf.h"
#include "drawings/drawing_collection.h"
#include "drawings/path_parts.h"
#include "platform/win32_api.h"
#include "platform/win32_file_system.h"
#include "platform/win32_profile_file.h"
#include "platform/win32_text_order.h"
#include "program_guard.h"
#include "recording_view.h"
#include "runlists/run_lists.h"
#include "settings/settings.h"
#include "standin_drawing.h"
#include "standin_log_file.h"
#include "test_files.h"
#include "text/cp932_text.h"
#include "wait_until.h"

namespace tovimo::wine_tests {
namespace {

constexpr const char* EndCaption = "Tovimo メッセージ";
constexpr const char* FinishedText = "   作業が終わりました      ";
constexpr const char* CanceledText = "   作業を中断しました      ";
constexpr const char* StandinProgram = "standin-acad.exe";
constexpr int ProcessEndLimitMs = 15000;

// The samples folder that the build copies beside the bin folder.
std::string SamplesFolder() {
    return win32::Win32FileSystem().FullPathName(BinFolder() + "..\\samples\\");
}

std::string TmpDwgPath() { return BinFolder() + "tmp.dwg"; }

// The names in a folder (files and folders), sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Copies the content of folder from (ending in "\") into folder to, which is made.
void CopyTree(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    for (const std::string& name : NamesIn(from)) {
        const std::string source = from + name;
        if (::GetFileAttributesA(source.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(source + "\\", to + name + "\\");
        else
            ASSERT_TRUE(CopyInto(source, to)) << source;
    }
}

std::string WithExtension(const std::string& drawing, const std::string& extension) {
    return std::string(RemoveExtension(drawing)) + extension;
}

std::optional<standin::StandinDrawing> ReadDrawing(const std::string& path) {
    const auto content = ReadWholeFile(path);
    if (!content) return std::nullopt;
    return standin::ParseDrawing(*content);
}

// A result that the stand-in wrote for source in the format.
void ExpectResult(const std::string& result, const std::string& source, const std::string& format) {
    const auto drawing = ReadDrawing(result);
    ASSERT_TRUE(drawing) << "no result " << result;
    EXPECT_EQ(drawing->format, format) << result;
    EXPECT_EQ(drawing->source, source) << result;
}

// A view whose progress can trigger something, as a click would.
class TestView : public testing::RecordingView {
public:
    void SetProgressPosition(int position) override {
        RecordingView::SetProgressPosition(position);
        if (onProgress) onProgress(position);
    }
    std::function<void(int)> onProgress;
};

// A window of the test that stands for the Cancel button: a WM_APP posted to
// it cancels the converter stored in its user data, when the message runs.
struct CancelTarget {
    DwgDxf* converter = nullptr;
    int handledAtPosition = -1;  // the progress when the message ran
    const TestView* view = nullptr;
};

LRESULT CALLBACK CancelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        auto* target = reinterpret_cast<CancelTarget*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (target && target->converter) {
            target->converter->Canceled = true;
            target->handledAtPosition = target->view->positions.back();
        }
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeCancelWindow(CancelTarget& target) {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = CancelWindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TovimoTestCancel";
        return ::RegisterClassA(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    HWND window = ::CreateWindowExA(0, "TovimoTestCancel", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    if (window) ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&target));
    return window;
}

class ConversionTest : public ::testing::Test {
protected:
    ConversionTest() {
        ::DeleteFileA(TmpDwgPath().c_str());
        ::CreateDirectoryA(drawings.c_str(), nullptr);
        CopyTree(SamplesFolder() + "dwg\\", drawings + "dwg\\");
        CopyTree(SamplesFolder() + "dxf\\", drawings + "dxf\\");
        CopyInto(SamplesFolder() + SettingsFileName, temp.Path());
    }

    ~ConversionTest() override {
        EndStandin();
        ::DeleteFileA(TmpDwgPath().c_str());
    }

    // A converter of the direction with the macro and the settings of the
    // sample settings file; the stand-in shows its startup dialog and logs.
    void MakeConverter(const std::string& section, const std::string& standinOptions = "") {
        converter =
            std::make_unique<DwgDxf>(platform.Get(), profile, files, view, iniPath, section);
        EXPECT_FALSE(converter->MacroLines.empty()) << "no macro " << section << " in " << iniPath;
        converter->SetAcadPath(BinFolder() + StandinProgram);
        settings = RunSettings(ReadMainFormSettings(profile, files, iniPath, BinFolder()));
        settings.AcadArg = "/startup " + log.Switch();
        if (!standinOptions.empty()) settings.AcadArg += " " + standinOptions;
    }

    ConvertResult Run(const std::vector<std::string>& sources,
                      const std::vector<std::string>& targets = {}) {
        const ULONGLONG started = ::GetTickCount64();
        const ConvertResult result = converter->ConvertFiles(sources, targets, settings);
        // What the stand-in did, for the failure that follows.
        if (result == ConvertStartFailed)
            std::cerr << "AutoCAD not started after " << ::GetTickCount64() - started
                      << " ms; the stand-in's log:\n" << log.Text() << "\n";
        return result;
    }

    std::vector<LogEntry> Log(const std::string& kind) const { return log.OfKind(kind); }
    // Each value a system variable was set to, in order.
    std::vector<std::string> SysVarHistory(const std::string& name) const {
        std::vector<std::string> values;
        for (const auto& entry : Log("sysvar"))
            if (entry.Field(0) == name) values.push_back(entry.Field(1));
        return values;
    }
    std::vector<std::pair<std::string, SkipReason>> Skipped() const {
        std::vector<std::pair<std::string, SkipReason>> skipped;
        for (const auto& s : converter->LastSkipped()) skipped.emplace_back(s.name, s.reason);
        return skipped;
    }
    std::pair<std::string, std::string> LastMessage() const {
        return view.messages.empty() ? std::pair<std::string, std::string>() : view.messages.back();
    }
    static bool StandinGone() { return CountRunning(StandinProgram) == 0; }

    // Closes the stand-in that the converter is linked to and makes sure its
    // process ends; kills it when it does not.
    void EndStandin() {
        if (converter && converter->MainWindow != 0 &&
            platform.windows.IsWindow(converter->MainWindow))
            converter->CloseAcad();
        if (!WaitUntil(StandinGone, ProcessEndLimitMs)) {
            EndProcesses(StandinProgram);
            ADD_FAILURE() << "the stand-in AutoCAD did not end and was killed";
        }
    }

    ProgramGuard guard;  // ends whatever is left, last of all
    TempFolder temp{"tovimo-conversion"};
    const std::string drawings = temp.Path() + "図面\\";
    const std::string iniPath = temp.Path() + SettingsFileName;
    const StandinLogFile log{temp.Path() + "acad.log"};
    Win32Platform platform;
    Win32ProfileFile profile;
    win32::Win32FileSystem files;
    TestView view;
    ConvertSettings settings;
    std::unique_ptr<DwgDxf> converter;
};

TEST_F(ConversionTest, DwgDrawingsAreSavedAsDxfBesideEachSource) {
    MakeConverter("dwgtodxf");
    const std::vector<std::string> sources{drawings + "dwg\\plan-1F.dwg",
                                           drawings + "dwg\\設備図\\ソケット配置.dwg",
                                           drawings + "dwg\\plan-2F.dwg"};
    ASSERT_EQ(Run(sources), ConvertCarriedOut);

    for (const auto& source : sources) ExpectResult(WithExtension(source, ".dxf"), source, "DXF");
    // Nothing else was written: a path cut at the "\" byte inside "ソ" would
    // have left a stray file.
    EXPECT_EQ(NamesIn(drawings + "dwg\\設備図\\"),
              (std::vector<std::string>{"ソケット配置.dwg", "ソケット配置.dxf", "空調-2F.dwg"}));
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_TRUE(view.skippedShown.empty());
    EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(LastMessage(), std::make_pair(std::string(FinishedText), std::string(EndCaption)));

    // Pelkadu pressed the startup dialog away, and the sample settings close
    // AutoCAD after the run.
    const auto pressed = Log("pressed");
    ASSERT_FALSE(pressed.empty());
    EXPECT_TRUE(ContainsText(pressed.front().Field(0), "ｽﾀｰﾄｱｯﾌﾟ"));
    EXPECT_TRUE(WaitUntil(StandinGone, ProcessEndLimitMs));
    EXPECT_EQ(Log("quit").size(), 1u);
    EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 0; }, ProcessEndLimitMs));
}

TEST_F(ConversionTest, DxfDrawingsAreSavedAsDwgInTheOutputFolder) {
    // AutoCAD rather than LT, with full-width katakana.
    MakeConverter("dxftodwg", "/full /fullwidth");
    const std::string output = temp.MakeFolder("出力");
    ASSERT_FALSE(output.empty());
    settings.SaveSameDir = false;
    settings.SaveChildDir = false;
    settings.SaveDir = output.substr(0, output.size() - 1);
    const std::vector<std::string> sources{drawings + "dxf\\site.dxf",
                                           drawings + "dxf\\詳細図\\detail-01.dxf",
                                           drawings + "dxf\\詳細図\\表題欄.dxf"};
    ASSERT_EQ(Run(sources), ConvertCarriedOut);

    ExpectResult(output + "site.dwg", sources[0], "DWG2000");
    ExpectResult(output + "detail-01.dwg", sources[1], "DWG2000");
    ExpectResult(output + "表題欄.dwg", sources[2], "DWG2000");
    EXPECT_EQ(NamesIn(output),
              (std::vector<std::string>{"detail-01.dwg", "site.dwg", "表題欄.dwg"}));
    // The vertical font goes with the drawing into its result.
    EXPECT_TRUE(
        ReadDrawing(output + "表題欄.dwg").value_or(standin::StandinDrawing{}).verticalText);
    // Nothing beside the sources.
    EXPECT_EQ(NamesIn(drawings + "dxf\\詳細図\\"),
              (std::vector<std::string>{"detail-01.dxf", "表題欄.dxf"}));
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(LastMessage().first, FinishedText);
}

// The whole sample folder of DWG drawings, collected as a drop with its
// sub-folders collects it, converted into the output folder with the
// sub-folders reproduced; the two drawings that cannot be opened are listed.
TEST_F(ConversionTest, ADroppedFolderIsConvertedWithItsSubFoldersReproduced) {
    MakeConverter("dwgtodxf");
    const std::string output = temp.MakeFolder("出力");
    ASSERT_FALSE(output.empty());
    settings.SaveSameDir = false;
    settings.SaveChildDir = true;
    settings.SaveDir = output.substr(0, output.size() - 1);

    const DrawingCollection collection =
        CollectDrawings(files, win32::Win32TextOrder(), {drawings + "dwg"}, true, DrawingKind::Dwg);
    ASSERT_EQ(collection.drawings.size(), 6u);
    const RunLists lists =
        BuildRunLists(files, collection.drawings, TargetRules{false, settings.SaveDir, true});
    ASSERT_TRUE(lists.ok) << lists.failedFolder;
    ASSERT_EQ(Run(lists.SourceList, lists.TargetList), ConvertCarriedOut);

    // The dropped folder itself is reproduced too.
    const std::string in = drawings + "dwg\\";
    const std::string out = output + "dwg\\";
    ExpectResult(out + "plan-1F.dxf", in + "plan-1F.dwg", "DXF");
    ExpectResult(out + "plan-2F.dxf", in + "plan-2F.dwg", "DXF");
    ExpectResult(out + "設備図\\ソケット配置.dxf", in + "設備図\\ソケット配置.dwg", "DXF");
    ExpectResult(out + "設備図\\空調-2F.dxf", in + "設備図\\空調-2F.dwg", "DXF");
    EXPECT_EQ(NamesIn(output), std::vector<std::string>{"dwg"});
    EXPECT_EQ(NamesIn(out + "old\\"), std::vector<std::string>{});
    EXPECT_EQ(NamesIn(out + "設備図\\"),
              (std::vector<std::string>{"ソケット配置.dxf", "空調-2F.dxf"}));
    // Nothing beside the sources.
    EXPECT_EQ(NamesIn(in + "設備図\\"),
              (std::vector<std::string>{"ソケット配置.dwg", "空調-2F.dwg"}));

    auto skipped = Skipped();
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(skipped, (std::vector<std::pair<std::string, SkipReason>>{
                           {"damaged.dwg", SkipReason::OpenFailed},
                           {"needs-recover.dwg", SkipReason::OpenFailed}}));
    ASSERT_EQ(view.skippedShown.size(), 1u);
    EXPECT_EQ(view.skippedShown[0].size(), 2u);
    EXPECT_EQ(view.positions.back(), 0);
    EXPECT_EQ(*std::max_element(view.positions.begin(), view.positions.end()), 6);
}

TEST_F(ConversionTest, FailedOpensAreListedInOrderAndAShapePromptIsAnswered) {
    MakeConverter("dwgtodxf");
    const std::string in = drawings + "dwg\\";
    const std::vector<std::string> sources{in + "plan-1F.dwg", in + "old\\damaged.dwg",
                                           in + "設備図\\空調-2F.dwg",
                                           in + "old\\needs-recover.dwg", in + "plan-2F.dwg"};
    ASSERT_EQ(Run(sources), ConvertCarriedOut);

    EXPECT_EQ(Skipped(), (std::vector<std::pair<std::string, SkipReason>>{
                             {"damaged.dwg", SkipReason::OpenFailed},
                             {"needs-recover.dwg", SkipReason::OpenFailed}}));
    ExpectResult(in + "plan-1F.dxf", sources[0], "DXF");
    ExpectResult(in + "設備図\\空調-2F.dxf", sources[2], "DXF");
    ExpectResult(in + "plan-2F.dxf", sources[4], "DXF");
    EXPECT_TRUE(
        ReadDrawing(in + "設備図\\空調-2F.dxf").value_or(standin::StandinDrawing{}).missingShape);
    EXPECT_EQ(NamesIn(in + "old\\"),
              (std::vector<std::string>{"damaged.dwg", "needs-recover.dwg"}));

    // The failure's message box was confirmed with OK, the shape file
    // question answered, and the damaged drawing's question with Enter.
    bool messageBoxOk = false;
    for (const auto& entry : Log("pressed"))
        messageBoxOk |= entry.Field(0) == "AutoCAD LT ﾒｯｾｰｼﾞ" && entry.Field(1) == "OK";
    EXPECT_TRUE(messageBoxOk);
    int shapePrompts = 0;
    for (const auto& entry : Log("prompt")) shapePrompts += ContainsText(entry.Field(0), "ｼｪｲﾌﾟ");
    EXPECT_EQ(shapePrompts, 1);
    EXPECT_EQ(LastMessage().first, FinishedText);
    ASSERT_EQ(view.skippedShown.size(), 1u);
    EXPECT_EQ(view.skippedShown[0].size(), 2u);
}

// Overwriting off keeps an existing result and lists its drawing; on, the
// same result is replaced. Each run has its own stand-in (the sample
// settings close it). AutoCAD rather than LT asks "置き換えますか? <N> ".
TEST_F(ConversionTest, AnExistingResultIsKeptOrReplacedAsOverwritingSays) {
    for (const char* product : {"/lt", "/full"}) {
        SCOPED_TRACE(product);
        MakeConverter("dwgtodxf", product);
        const std::string in = drawings + "dwg\\";
        const std::string earlier = "STANDIN-DRAWING\r\nFORMAT DXF\r\nSOURCE earlier\r\n";
        ASSERT_TRUE(WriteWholeFile(in + "plan-2F.dxf", earlier));
        ::DeleteFileA((in + "plan-1F.dxf").c_str());
        ::DeleteFileA((in + "設備図\\ソケット配置.dxf").c_str());
        ::DeleteFileA(TmpDwgPath().c_str());
        const std::vector<std::string> sources{in + "plan-1F.dwg", in + "plan-2F.dwg",
                                               in + "設備図\\ソケット配置.dwg"};

        settings.Rewite = false;
        ASSERT_FALSE(settings.SaveTmpdwg);
        ASSERT_EQ(Run(sources), ConvertCarriedOut);
        EXPECT_EQ(ReadWholeFile(in + "plan-2F.dxf"), earlier);
        EXPECT_EQ(Skipped(), (std::vector<std::pair<std::string, SkipReason>>{
                                 {"plan-2F.dwg", SkipReason::ResultExists}}));
        ExpectResult(in + "plan-1F.dxf", sources[0], "DXF");
        ExpectResult(in + "設備図\\ソケット配置.dxf", sources[2], "DXF");
        // The refusal saves tmp.dwg even with the tmp.dwg save off.
        EXPECT_TRUE(FileExists(TmpDwgPath()));
        EXPECT_EQ(Log("kept").size(), 1u);
        EXPECT_EQ(view.skippedShown.size(), 1u);
        EXPECT_EQ(LastMessage().first, FinishedText);
        EXPECT_TRUE(WaitUntil(StandinGone, ProcessEndLimitMs));

        settings.Rewite = true;
        view.skippedShown.clear();
        ASSERT_EQ(Run(sources), ConvertCarriedOut);
        ExpectResult(in + "plan-2F.dxf", sources[1], "DXF");
        EXPECT_TRUE(converter->LastSkipped().empty());
        EXPECT_TRUE(view.skippedShown.empty());
        EndStandin();
        ::DeleteFileA(log.Path().c_str());
    }
}

TEST_F(ConversionTest, CancelDuringARunFinishesTheDrawingUnderWayAndStillRestores) {
    MakeConverter("dwgtodxf");
    settings.SaveTmpdwg = true;
    CancelTarget target;
    target.converter = converter.get();
    target.view = &view;
    HWND cancelWindow = MakeCancelWindow(target);
    ASSERT_NE(cancelWindow, nullptr);
    // As if Cancel were clicked when the first drawing is done: the click
    // waits in the queue until the run lets messages run.
    view.onProgress = [cancelWindow](int position) {
        if (position == 1) ::PostMessageA(cancelWindow, WM_APP, 0, 0);
    };
    const std::string in = drawings + "dwg\\";
    const std::vector<std::string> sources{in + "plan-1F.dwg", in + "plan-2F.dwg",
                                           in + "設備図\\ソケット配置.dwg",
                                           in + "設備図\\空調-2F.dwg"};
    const ConvertResult result = Run(sources);
    ::DestroyWindow(cancelWindow);
    ASSERT_EQ(result, ConvertCarriedOut);

    // The click ran during the second drawing, which still finished.
    EXPECT_EQ(target.handledAtPosition, 1);
    EXPECT_TRUE(converter->Canceled);
    ExpectResult(in + "plan-1F.dxf", sources[0], "DXF");
    ExpectResult(in + "plan-2F.dxf", sources[1], "DXF");
    EXPECT_FALSE(FileExists(in + "設備図\\ソケット配置.dxf"));
    EXPECT_FALSE(FileExists(in + "設備図\\空調-2F.dxf"));
    EXPECT_EQ(view.positions, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_TRUE(converter->LastSkipped().empty());
    EXPECT_EQ(LastMessage(), std::make_pair(std::string(CanceledText), std::string(EndCaption)));

    // The closing tmp.dwg save took the last drawing; then the variables
    // were restored and AutoCAD closed.
    ExpectResult(TmpDwgPath(), sources[1], "DWG2000");
    EXPECT_EQ(SysVarHistory("FILEDIA"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(SysVarHistory("PROXYNOTICE"), (std::vector<std::string>{"0", "1"}));
    EXPECT_TRUE(WaitUntil(StandinGone, ProcessEndLimitMs));
}

// Two runs of one direction on the AutoCAD that the first left open: each
// leaves FILEDIA, ISAVEBAK and PROXYNOTICE at the values it was given, not at
// those AutoCAD had, and puts DYNMODE back to what it was. tmp.dwg is saved
// in the program's folder before each drawing and after the last.
TEST_F(ConversionTest, SystemVariablesEndAtTheGivenValuesAndDynModeAtItsOwn) {
    MakeConverter("dwgtodxf");
    settings.AcadClose = false;
    settings.SaveTmpdwg = true;
    settings.DYNCancel = true;
    settings.FileDia = 0;
    settings.ISaveBak = 1;
    settings.ProxyNotice = 0;
    const std::string in = drawings + "dwg\\";
    const std::vector<std::string> sources{in + "plan-1F.dwg", in + "plan-2F.dwg"};
    ASSERT_EQ(Run(sources), ConvertCarriedOut);

    EXPECT_EQ(converter->GetSysVar("FILEDIA"), "0");
    EXPECT_EQ(converter->GetSysVar("ISAVEBAK"), "1");
    EXPECT_EQ(converter->GetSysVar("PROXYNOTICE"), "0");
    EXPECT_EQ(converter->GetSysVar("DYNMODE"), "3");
    ExpectResult(TmpDwgPath(), sources[1], "DWG2000");
    int tmpWrites = 0;
    for (const auto& entry : Log("write")) tmpWrites += entry.Field(0) == TmpDwgPath();
    EXPECT_EQ(tmpWrites, 3);

    converter->SetSysVar("DYNMODE", "1");
    settings.FileDia = 1;
    settings.ISaveBak = 0;
    settings.ProxyNotice = 1;
    ASSERT_EQ(Run({in + "設備図\\ソケット配置.dwg"}), ConvertCarriedOut);
    EXPECT_EQ(converter->GetSysVar("FILEDIA"), "1");
    EXPECT_EQ(converter->GetSysVar("ISAVEBAK"), "0");
    EXPECT_EQ(converter->GetSysVar("PROXYNOTICE"), "1");
    EXPECT_EQ(converter->GetSysVar("DYNMODE"), "1");
    EXPECT_EQ(SysVarHistory("DYNMODE"), (std::vector<std::string>{"0", "3", "1", "0", "1"}));
    EXPECT_EQ(SysVarHistory("FILEDIA"), (std::vector<std::string>{"0", "0", "0", "1"}));
    ExpectResult(in + "設備図\\ソケット配置.dxf", in + "設備図\\ソケット配置.dwg", "DXF");
    EXPECT_EQ(Log("start").size(), 1u);

    // The other direction did not start this AutoCAD, and leaves it alone.
    DwgDxf other(platform.Get(), profile, files, view, iniPath, "dxftodwg");
    other.SetAcadPath(BinFolder() + StandinProgram);
    const auto typedBefore = Log("copydata").size();
    EXPECT_EQ(other.ConvertFiles({drawings + "dxf\\site.dxf"}, {}, settings),
              ConvertOtherAcadRunning);
    EXPECT_EQ(Log("copydata").size(), typedBefore);
    EXPECT_FALSE(FileExists(drawings + "dxf\\site.dwg"));
}

}  // namespace
}  // namespace tovimo::wine_tests
