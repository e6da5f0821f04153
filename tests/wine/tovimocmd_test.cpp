// TovimoCmd.exe from end to end: started as a batch file would start it,
// typing into the stand-in AutoCAD process (its startup dialog pressed away
// by Pelkadu), over a tree of drawings with Japanese names; its output, its
// exit codes, its results, and Ctrl+C.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawings/folder_walk.h"
#include "drawings/path_parts.h"
#include "long_paths.h"
#include "hung_program.h"
#include "platform/win32_api.h"
#include "program_guard.h"
#include "standin_drawing.h"
#include "standin_log_file.h"
#include "standin_logs.h"
#include "started_program.h"
#include "test_files.h"
#include "unix_links.h"
#include "wait_until.h"

#include <tlhelp32.h>

namespace tovimo::wine_tests {
namespace {

constexpr const char* Finished = "   作業が終わりました      ";
constexpr const char* Interrupted = "   作業を中断しました      ";
constexpr int RunLimitMs = 60000;

// One TovimoCmd process with its standard output and error in files.
class TovimoCmd {
public:
    // program: another copy of TovimoCmd.exe; currentFolder: where it runs
    // (this test's own current folder when empty).
    TovimoCmd(const std::string& arguments, const std::string& folder,
              const std::string& currentFolder = "", const std::string& program = "")
        : outPath_(folder + "out.txt"), errPath_(folder + "err.txt") {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const auto open = [&](const std::string& path) {
            return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        HANDLE out = open(outPath_);
        HANDLE err = open(errPath_);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = err;
        std::string line =
            "\"" + (program.empty() ? BinFolder() + "TovimoCmd.exe" : program) + "\" " + arguments;
        line.push_back('\0');
        PROCESS_INFORMATION process{};
        // A console of its own, so that a Ctrl+C can be sent to it alone.
        if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE,
                             nullptr, currentFolder.empty() ? nullptr : currentFolder.c_str(),
                             &startup, &process)) {
            ::CloseHandle(process.hThread);
            process_ = process.hProcess;
            processId_ = process.dwProcessId;
        }
        ::CloseHandle(out);
        ::CloseHandle(err);
    }
    ~TovimoCmd() {
        if (!process_) return;
        if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_, 99);
            ::WaitForSingleObject(process_, 5000);
        }
        ::CloseHandle(process_);
    }
    TovimoCmd(const TovimoCmd&) = delete;
    TovimoCmd& operator=(const TovimoCmd&) = delete;

    bool Started() const { return process_ != nullptr; }
    // The exit code; -1 when it did not end in time.
    long ExitCode(int timeoutMs = RunLimitMs) {
        if (!process_ || ::WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(process_, &code);
        return static_cast<long>(code);
    }
    std::vector<std::string> Out() const { return SplitLines(ReadWholeFile(outPath_).value_or("")); }
    std::vector<std::string> Err() const { return SplitLines(ReadWholeFile(errPath_).value_or("")); }
    bool OutHas(const std::string& line) const {
        const auto lines = Out();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // Ctrl+C as the console delivers it: to every process of the program's
    // console, here the program alone. This test process joins that console
    // for the moment and swallows the event itself with a handler. Not by
    // ignoring Ctrl+C: the programs it starts later would inherit that, and
    // under Wine a TovimoCmd started so never saw a Ctrl+C of its own.
    bool PressCtrlC() {
        ::FreeConsole();
        if (!::AttachConsole(processId_)) return false;
        ::SetConsoleCtrlHandler(SwallowControl, TRUE);
        const bool sent = ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != FALSE;
        ::FreeConsole();
        return sent;
    }

private:
    static BOOL WINAPI SwallowControl(DWORD) { return TRUE; }

    std::string outPath_;
    std::string errPath_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Stops every thread of the process: it shows nothing more until it is
// ended, as an AutoCAD hung in its start. Gives how many were stopped.
int SuspendProcess(DWORD processId) {
    int suspended = 0;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        if (HANDLE thread = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            suspended += ::SuspendThread(thread) != static_cast<DWORD>(-1);
            ::CloseHandle(thread);
        }
    }
    ::CloseHandle(snapshot);
    return suspended;
}

std::string Drawing(const std::string& marker = "") {
    return std::string(standin::DrawingHeader) + "\r\nFORMAT DWG2000\r\n" +
           (marker.empty() ? "" : marker + "\r\n");
}

std::optional<standin::StandinDrawing> Result(const std::string& path) {
    const auto content = ReadWholeFile(path);
    if (!content) return std::nullopt;
    return standin::ParseDrawing(*content);
}

class TovimoCmdTest : public ::testing::Test {
protected:
    TovimoCmdTest() {
        ::DeleteFileA(TmpDwg().c_str());
        dwg = temp.MakeFolder("図面\\dwg");
        dxf = temp.MakeFolder("図面\\dxf");
        temp.MakeFolder("図面\\dwg\\設備図");
        temp.MakeFolder("図面\\dxf\\詳細図");
        for (const char* name : {"plan-1F.dwg", "ソケット.dwg", "設備図\\空調.dwg"})
            WriteWholeFile(dwg + name, Drawing());
        WriteWholeFile(dwg + "memo.dxf", Drawing());
        for (const char* name : {"site.dxf", "詳細図\\表題欄.dxf"}) WriteWholeFile(dxf + name, Drawing());
    }
    ~TovimoCmdTest() override {
        if (!WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000))
            ADD_FAILURE() << "the stand-in AutoCAD was left running";
        guard.EndAll();
        ::DeleteFileA(TmpDwg().c_str());
    }

    static std::string TmpDwg() { return BinFolder() + "tmp.dwg"; }

    // The settings file: both macros, the stand-in as AutoCAD with its
    // startup dialog and its log, and AutoCAD closed after each run. The
    // first of two equal keys counts, so first comes before the rest.
    void WriteIni(const std::string& acadArg = "", const std::string& first = "") {
        iniText = "[MainForm]\r\n" + first + "AcadPath=" + BinFolder() + "standin-acad.exe\r\n"
                  "AcadArg=/startup " + log.Switch() + (acadArg.empty() ? "" : " " + acadArg) + "\r\n"
                  "CommandWait=20\r\nStartWait=15\r\nFileDia=1\r\nISaveBak=0\r\nProxyNotice=1\r\n"
                  "AcadClose=1\r\nSaveSameDir=1\r\nWaitLimit=30\r\n" +
                  "\r\n[dwgtodxf]\r\nMACRO_LINES=6\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
                  "MACRO3=DXF\r\nMACRO4=#ENTER\r\nMACRO5=#SAVEFILE\r\n"
                  "\r\n[dxftodwg]\r\nMACRO_LINES=5\r\nMACRO0=open\r\nMACRO1=#FILE\r\nMACRO2=saveas\r\n"
                  "MACRO3=2000\r\nMACRO4=#SAVEFILE\r\n";
        ASSERT_TRUE(WriteWholeFile(ini, iniText));
    }
    std::string IniOption() const { return "/ini \"" + ini + "\""; }
    // Presses Ctrl+C once the run has announced drawing `announced`, and
    // checks that it ends as interrupted; out: its output; started: the
    // drawings it announced.
    void InterruptOnceAnnounced(TovimoCmd& run, std::size_t announced,
                                std::vector<std::string>& out, long& started) {
        const std::string mark = "[" + std::to_string(announced) + "/";
        ASSERT_TRUE(WaitUntil([&] {
            const auto lines = run.Out();
            return lines.size() >= announced && lines[announced - 1].rfind(mark, 0) == 0;
        }, RunLimitMs)) << ::testing::PrintToString(run.Out());
        ASSERT_TRUE(run.PressCtrlC()) << ::GetLastError();
        EXPECT_EQ(run.ExitCode(), 2) << ::testing::PrintToString(run.Err());
        out = run.Out();
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.back(), Interrupted);
        started = std::count_if(out.begin(), out.end(),
                                [](const std::string& line) { return line.rfind("[", 0) == 0; });
    }
    // A path as one argument. A folder is given without its "\" at the end:
    // "\"" inside an argument stands for a quote.
    static std::string Quoted(std::string path) {
        if (!path.empty() && path.back() == '\\') path.pop_back();
        return "\"" + path + "\"";
    }

    // The values a system variable was set to, in order.
    std::vector<std::string> SysVarHistory(const std::string& name) const {
        std::vector<std::string> values;
        for (const auto& entry : log.OfKind("sysvar"))
            if (entry.Field(0) == name) values.push_back(entry.Field(1));
        return values;
    }

    ProgramGuard guard{[] {
        auto programs = ProgramGuard::OurPrograms();
        programs.push_back("TovimoCmd.exe");
        return programs;
    }()};
    TempFolder temp{"tovimocmd"};
    std::string dwg;
    std::string dxf;
    const std::string ini = temp.Path() + "設定.ini";
    const StandinLogFile log{temp.Path() + "acad.log"};
    std::string iniText;
};

TEST_F(TovimoCmdTest, BothDirectionsConvertTheGivenFoldersAndLeaveTheSettingsFileAlone) {
    WriteIni();
    {
        TovimoCmd run("dxf /s " + IniOption() + " " + Quoted(dwg), temp.Path());
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Err());
        for (const char* name : {"plan-1F", "ソケット", "設備図\\空調"}) {
            SCOPED_TRACE(name);
            const auto result = Result(dwg + name + ".dxf");
            ASSERT_TRUE(result);
            EXPECT_EQ(result->format, "DXF");
            EXPECT_EQ(result->source, dwg + name + ".dwg");
        }
        EXPECT_FALSE(FileExists(dwg + "memo.dwg"));
        const auto out = run.Out();
        ASSERT_EQ(out.size(), 4u) << ::testing::PrintToString(out);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(out[i].rfind("[" + std::to_string(i + 1) + "/3] " + dwg, 0), 0u) << out[i];
        EXPECT_EQ(out.back(), Finished);
        EXPECT_TRUE(run.Err().empty());
    }
    // Pelkadu pressed the startup dialog; the end values were set; AutoCAD closed.
    EXPECT_FALSE(log.OfKind("pressed").empty());
    EXPECT_EQ(SysVarHistory("ISAVEBAK"), (std::vector<std::string>{"0", "0"}));
    EXPECT_TRUE(log.WaitFor("quit"));
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    ::DeleteFileA(log.Path().c_str());

    // DXF to DWG, without /s: the sub-folder is left out.
    TovimoCmd back("dwg " + IniOption() + " " + Quoted(dxf), temp.Path());
    EXPECT_EQ(back.ExitCode(), 0) << ::testing::PrintToString(back.Err());
    EXPECT_EQ(Result(dxf + "site.dwg").value_or(standin::StandinDrawing{}).format, "DWG2000");
    EXPECT_FALSE(FileExists(dxf + "詳細図\\表題欄.dwg"));
    EXPECT_EQ(back.Out(), (std::vector<std::string>{"[1/1] " + dxf + "site.dxf", Finished}));

    // Neither run wrote to the settings file, macros included.
    EXPECT_EQ(ReadWholeFile(ini), iniText);
}

TEST_F(TovimoCmdTest, AnOutputFolderTakesTheResultsWithOrWithoutTheSubFolders) {
    WriteIni();
    // "表" ends in the byte of "\": right before the closing quote of its
    // argument it must not be taken for an escaped quote.
    const std::string out = temp.MakeFolder("出力表");
    {
        TovimoCmd run("dxf /s /o " + Quoted(out) + " /k " + IniOption() + " " + Quoted(dwg), temp.Path());
        EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Err());
        EXPECT_TRUE(Result(out + "dwg\\plan-1F.dxf"));
        EXPECT_TRUE(Result(out + "dwg\\ソケット.dxf"));
        EXPECT_EQ(Result(out + "dwg\\設備図\\空調.dxf").value_or(standin::StandinDrawing{}).source,
                  dwg + "設備図\\空調.dwg");
        EXPECT_FALSE(FileExists(dwg + "plan-1F.dxf"));
    }
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));

    // Without the sub-folders two drawings of the same name meet: even with
    // /y the second one never replaces the first one's result. It is listed
    // and not typed.
    WriteWholeFile(dwg + "設備図\\plan-1F.dwg", Drawing());
    const std::string flat = temp.MakeFolder("平ら");
    TovimoCmd run("dxf /s /y /o " + Quoted(flat) + " /-k " + IniOption() + " " + Quoted(dwg), temp.Path());
    EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
    EXPECT_EQ(Result(flat + "plan-1F.dxf").value_or(standin::StandinDrawing{}).source, dwg + "plan-1F.dwg");
    EXPECT_TRUE(Result(flat + "空調.dxf"));
    EXPECT_FALSE(FileExists(flat + "設備図\\空調.dxf"));
    EXPECT_TRUE(run.OutHas("  " + dwg + "設備図\\plan-1F.dwg  (同じ名前の変換後ファイルになる図面が先にあります)"))
        << ::testing::PrintToString(run.Out());
    for (const auto& entry : log.OfKind("copydata"))
        EXPECT_EQ(entry.Field(2).find("設備図\\plan-1F"), std::string::npos) << entry.Field(2);
    EXPECT_EQ(log.OfKind("kept").size(), 0u);
}

TEST_F(TovimoCmdTest, ExistingResultsAndADrawingThatFailsToOpenAreListedWithExitCode1) {
    WriteIni();
    const std::string earlier = Drawing();
    WriteWholeFile(dwg + "ソケット.dxf", earlier);
    WriteWholeFile(dwg + "壊れた.dwg", Drawing("FAIL"));
    TovimoCmd run("dxf /n " + IniOption() + " " + Quoted(dwg), temp.Path());
    EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
    EXPECT_EQ(ReadWholeFile(dwg + "ソケット.dxf"), earlier);
    EXPECT_TRUE(Result(dwg + "plan-1F.dxf"));
    const auto out = run.Out();
    ASSERT_GE(out.size(), 6u);
    EXPECT_EQ(out.back(), Finished);
    EXPECT_EQ(out[out.size() - 6], "これらの図面は、変換を行っていません (2 枚):");
    // In the order the drawings were met, each with what AutoCAD showed.
    std::vector<std::string> listed(out.end() - 5, out.end() - 1);
    std::vector<std::string> expected{"  " + dwg + "ソケット.dwg  (変換後のファイルが既にあります)",
                                      "      上書きしますか? <N> ",
                                      "  " + dwg + "壊れた.dwg  (AutoCADで開けませんでした)",
                                      "      " + dwg + "壊れた.dwg は有効な図面ファイルではありません。"};
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
}

TEST_F(TovimoCmdTest, AUnicodeAutoCadIsTypedIntoInUtf16AndConvertsAsAnyOther) {
    WriteIni("/unicode");
    WriteWholeFile(dwg + "壊れた.dwg", Drawing("FAIL"));
    TovimoCmd run("dxf /s " + IniOption() + " " + Quoted(dwg), temp.Path());
    EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
    for (const char* name : {"plan-1F", "ソケット", "設備図\\空調"}) {
        SCOPED_TRACE(name);
        const auto result = Result(dwg + name + ".dxf");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->format, "DXF");
        EXPECT_EQ(result->source, dwg + name + ".dwg");
    }
    EXPECT_FALSE(FileExists(dwg + "壊れた.dxf"));
    const auto out = run.Out();
    ASSERT_GE(out.size(), 4u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[out.size() - 4], "これらの図面は、変換を行っていません (1 枚):");
    EXPECT_EQ(out[out.size() - 3], "  " + dwg + "壊れた.dwg  (AutoCADで開けませんでした)");
    EXPECT_EQ(out[out.size() - 2], "      " + dwg + "壊れた.dwg は有効な図面ファイルではありません。");
    EXPECT_EQ(out.back(), Finished);
    // Every text was read as it was meant: the variables ended at the end
    // values, Pelkadu pressed the startup dialog's Unicode button, quit ended it.
    EXPECT_TRUE(log.Has("unicode")) << log.Text();
    EXPECT_TRUE(log.OfKind("bad-cbdata").empty()) << log.Text();
    EXPECT_EQ(SysVarHistory("FILEDIA"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(SysVarHistory("ISAVEBAK"), (std::vector<std::string>{"0", "0"}));
    EXPECT_EQ(SysVarHistory("PROXYNOTICE"), (std::vector<std::string>{"0", "1"}));
    EXPECT_FALSE(log.OfKind("pressed").empty());
    EXPECT_TRUE(log.WaitFor("quit"));
}

TEST_F(TovimoCmdTest, ResultsAutoCadCouldNotWriteAreListedWithExitCode1UntilTheyAreWritten) {
    WriteIni();
    const std::string out = temp.MakeFolder("出力");
    const std::vector<std::string> names{"plan-1F", "ソケット", "空調"};
    const auto listed = [&](const std::string& source) {
        return "  " + dwg + source + "  (変換後のファイルが作られていません)";
    };
    const std::string args = "dxf /s /y /o " + Quoted(out) + " /-k " + IniOption() + " " + Quoted(dwg);

    // Something else stands at every result path: AutoCAD cannot write one.
    for (const auto& name : names) ASSERT_FALSE(temp.MakeFolder("出力\\" + name + ".dxf").empty());
    {
        TovimoCmd run(args, temp.Path());
        EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
        auto lines = run.Out();
        // What AutoCAD showed last, under each: its prompt.
        lines.erase(std::remove(lines.begin(), lines.end(), "      ｺﾏﾝﾄﾞ: "), lines.end());
        ASSERT_EQ(lines.size(), 8u) << ::testing::PrintToString(lines);
        EXPECT_EQ(lines[3], "これらの図面は、変換を行っていません (3 枚):");
        std::vector<std::string> shown(lines.begin() + 4, lines.begin() + 7);
        std::sort(shown.begin(), shown.end());
        std::vector<std::string> expected{listed("plan-1F.dwg"), listed("ソケット.dwg"),
                                          listed("設備図\\空調.dwg")};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(lines.back(), Finished);
    }
    EXPECT_EQ(log.OfKind("write-failed").size(), 3u) << log.Text();
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));

    // An earlier result that another program holds open is not rewritten,
    // though AutoCAD was told to overwrite it.
    for (const auto& name : names) ASSERT_TRUE(::RemoveDirectoryA((out + name + ".dxf").c_str()));
    const std::string earlier = "earlier";
    ASSERT_TRUE(WriteWholeFile(out + "plan-1F.dxf", earlier));
    HANDLE viewer = ::CreateFileA((out + "plan-1F.dxf").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    {
        TovimoCmd run(args, temp.Path());
        EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
        EXPECT_TRUE(run.OutHas(listed("plan-1F.dwg"))) << ::testing::PrintToString(run.Out());
        EXPECT_TRUE(run.OutHas("      ｺﾏﾝﾄﾞ: ")) << ::testing::PrintToString(run.Out());
        EXPECT_EQ(run.Out().size(), 7u) << ::testing::PrintToString(run.Out());
        EXPECT_EQ(Result(out + "空調.dxf").value_or(standin::StandinDrawing{}).format, "DXF");
    }
    ::CloseHandle(viewer);
    EXPECT_EQ(ReadWholeFile(out + "plan-1F.dxf"), earlier);
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));

    // Once every result is written, over the earlier ones too, the run is clean.
    TovimoCmd run(args, temp.Path());
    EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Out());
    EXPECT_EQ(run.Out().size(), 4u) << ::testing::PrintToString(run.Out());
    for (const auto& name : names)
        EXPECT_EQ(Result(out + name + ".dxf").value_or(standin::StandinDrawing{}).format, "DXF") << name;
}

TEST_F(TovimoCmdTest, LinksAreWalkedOnceAndAFolderBeyondMaxPathIsListedWithExitCode1) {
    WriteIni();
    const std::string given = dwg.substr(0, dwg.size() - 1);
    const UnixFolderLink loop(dwg + "loop", given);
    const UnixFolderLink again(dwg + "別名", dwg + "設備図");
    ASSERT_TRUE(loop.Made());
    ASSERT_TRUE(again.Made());
    const std::string level = "abcdefghijklmnopqrstuvwxyz0123456789";
    DeepFolder deep(given, level, 300);
    ASSERT_TRUE(deep.WriteFile("奥.dwg", Drawing()));
    // The first level whose search the file functions would refuse.
    std::string tooLong = given;
    while (CharacterCount(tooLong) + 4 <= MaxPathCharacters) tooLong += "\\" + level;

    TovimoCmd run("dxf /s " + IniOption() + " " + Quoted(dwg), temp.Path());
    EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
    const auto out = run.Out();
    ASSERT_EQ(out.size(), 6u) << ::testing::PrintToString(out);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(out[i].rfind("[" + std::to_string(i + 1) + "/3] " + dwg, 0), 0u) << out[i];
    EXPECT_EQ(out[3], "これらのフォルダや図面は、読み取れないため変換していません (1 件):");
    EXPECT_EQ(out[4], "  " + tooLong + "  (パスが長すぎます)");
    EXPECT_EQ(out[5], Finished);

    // Every drawing was opened once, through whichever path came first.
    std::vector<std::string> read;
    for (const auto& entry : log.OfKind("read")) read.push_back(std::string(FileNameOf(entry.Field(0))));
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, (std::vector<std::string>{"plan-1F.dwg", "ソケット.dwg", "空調.dwg"}))
        << log.Text();
}

TEST_F(TovimoCmdTest, TheDrawingsNotConvertedAreListedAndRunAgainFromTheList) {
    WriteIni();
    WriteWholeFile(dwg + "設備図\\壊れた.dwg", Drawing("FAIL"));
    const std::string list = temp.Path() + "失敗表.txt";
    {
        TovimoCmd run("dxf /s /f " + Quoted(list) + " " + IniOption() + " " + Quoted(dwg), temp.Path());
        EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
        EXPECT_EQ(ReadWholeFile(list), dwg + "設備図\\壊れた.dwg\r\n");
    }
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));

    // Mended; only the listed drawing is converted, and the list that the
    // second run writes over the one it read says that all went well.
    WriteWholeFile(dwg + "設備図\\壊れた.dwg", Drawing());
    ::DeleteFileA((dwg + "plan-1F.dxf").c_str());
    TovimoCmd again("dxf /f " + Quoted(list) + " " + IniOption() + " " + Quoted("@" + list), temp.Path());
    EXPECT_EQ(again.ExitCode(), 0) << ::testing::PrintToString(again.Err());
    EXPECT_EQ(again.Out(), (std::vector<std::string>{"[1/1] " + dwg + "設備図\\壊れた.dwg", Finished}));
    EXPECT_TRUE(Result(dwg + "設備図\\壊れた.dxf"));
    EXPECT_FALSE(FileExists(dwg + "plan-1F.dxf"));
    EXPECT_EQ(ReadWholeFile(list), "");

    // A list that is not there is a refusal that names it.
    TovimoCmd missing("dxf " + IniOption() + " " + Quoted("@" + temp.Path() + "なし.txt"), temp.Path());
    EXPECT_EQ(missing.ExitCode(), 5);
    ASSERT_FALSE(missing.Err().empty());
    EXPECT_NE(missing.Err()[0].find(temp.Path() + "なし.txt"), std::string::npos) << missing.Err()[0];
}

TEST_F(TovimoCmdTest, CtrlCEndsTheRunAfterTheDrawingUnderWayWithTheVariablesRestored) {
    // Slow opens, so that the run is surely in the middle.
    WriteIni("/opendelay:700");
    for (int i = 1; i <= 6; ++i) WriteWholeFile(dwg + "連番" + std::to_string(i) + ".dwg", Drawing());
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
    std::vector<std::string> out;
    long started = 0;
    ASSERT_NO_FATAL_FAILURE(InterruptOnceAnnounced(run, 2, out, started));
    EXPECT_EQ(out[0].rfind("[1/8] ", 0), 0u) << out[0];
    EXPECT_LT(started, 8);
    // Each drawing started was finished.
    int converted = 0;
    for (const auto& entry : log.OfKind("write")) converted += entry.Field(1) == "DXF";
    EXPECT_EQ(converted, started);
    // Set to 0 for the run, then back to the values of the settings file;
    // and AutoCAD closed as set.
    EXPECT_EQ(SysVarHistory("FILEDIA"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(SysVarHistory("PROXYNOTICE"), (std::vector<std::string>{"0", "1"}));
    EXPECT_TRUE(log.WaitFor("quit"));
}

TEST_F(TovimoCmdTest, CtrlCWhileAutoCadStartsEndsInSecondsWithItsDialogPressedAndNothingLeft) {
    // AutoCAD's windows and startup dialog come after 4 s; the first
    // prompt would be waited for up to WaitLimit.
    WriteIni("/startdelay:4000", "WaitLimit=600\r\n");
    const DWORD start = ::GetTickCount();
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
    ASSERT_TRUE(log.WaitFor("start", {}, RunLimitMs)) << log.Text();
    ASSERT_FALSE(log.Has("window")) << log.Text();
    ASSERT_TRUE(run.PressCtrlC()) << ::GetLastError();
    EXPECT_EQ(run.ExitCode(), 2) << ::testing::PrintToString(run.Err());
    EXPECT_LT(::GetTickCount() - start, 40000u);
    ASSERT_FALSE(run.Out().empty());
    EXPECT_EQ(run.Out().back(), Interrupted);
    // Pelkadu did not get the Ctrl+C and pressed the dialog; AutoCAD was
    // only closed: no variable set, no drawing opened.
    EXPECT_TRUE(log.Has("pressed", {"ｽﾀｰﾄｱｯﾌﾟ"})) << log.Text();
    EXPECT_TRUE(log.OfKind("sysvar").empty()) << log.Text();
    EXPECT_TRUE(log.OfKind("read").empty()) << log.Text();
    EXPECT_TRUE(log.WaitFor("quit")) << log.Text();
    EXPECT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 0; }, 15000));
}

TEST_F(TovimoCmdTest, SlashJTwoWithOneAutoCadThatNeverShowsItsWindowsEndsItAndConvertsWithTheOther) {
    WriteIni("/startdelay:3000 " + PerProcessLogSwitch(temp.Path(), "acad-"), "StartWait=5\r\n");
    TovimoCmd run("dxf /j 2 " + IniOption() + " " + Quoted(dwg), temp.Path());
    // Both started; one of them hangs before its windows.
    std::vector<StandinLogFile> logs;
    ASSERT_TRUE(WaitUntil([&] {
        logs = PerProcessLogs(temp.Path(), "acad-");
        return logs.size() == 2 && logs[0].Has("start") && logs[1].Has("start");
    }, RunLimitMs));
    const std::string hungId = logs[1].OfKind("start")[0].fields.back();
    ASSERT_FALSE(logs[1].Has("window")) << logs[1].Text();
    ASSERT_GT(SuspendProcess(static_cast<DWORD>(std::stoul(hungId))), 0);
    EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Err());
    EXPECT_EQ(run.Out().back(), Finished);
    const auto err = run.Err();
    ASSERT_EQ(err.size(), 1u) << ::testing::PrintToString(err);
    EXPECT_TRUE(err[0] == "AutoCAD (1台目) が起動しないため終了させました。AutoCAD 1 台で続けます。" ||
                err[0] == "AutoCAD (2台目) が起動しないため終了させました。AutoCAD 1 台で続けます。")
        << err[0];
    // Every drawing converted by the other; the hung one ended, nothing left.
    for (const char* name : {"plan-1F", "ソケット"}) EXPECT_TRUE(FileExists(dwg + name + ".dxf")) << name;
    EXPECT_EQ(logs[0].OfKind("read").size(), 2u) << logs[0].Text();
    EXPECT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
}

// AutoCAD opens each drawing beside those open (SDI 0) unless it is told
// otherwise: the run has it keep one open, and puts SDI back at the end.
TEST_F(TovimoCmdTest, TwentyDrawingsLeaveOneDrawingOpenAtATimeAndSdiAsItWas) {
    WriteIni();
    const std::string many = temp.MakeFolder("二十枚");
    for (int i = 1; i <= 20; ++i) WriteWholeFile(many + std::to_string(i) + ".dwg", Drawing());
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(many), temp.Path());
    EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Err()) << log.Text();
    EXPECT_TRUE(run.Err().empty()) << ::testing::PrintToString(run.Err());
    EXPECT_TRUE(log.WaitFor("quit"));
    const auto documents = log.OfKind("documents");
    ASSERT_EQ(documents.size(), 20u) << log.Text();
    for (const auto& entry : documents) EXPECT_EQ(entry.Field(0), "1");
    EXPECT_EQ(SysVarHistory("SDI"), (std::vector<std::string>{"1", "0"}));
    EXPECT_TRUE(Result(many + "20.dxf"));
}

// It hangs either while it takes the drawing's name (the send of the name
// runs out) or a little later (the open watch reads nothing until its limit,
// then the escape runs out).
TEST_F(TovimoCmdTest, AutoCadThatHangsWhileOpeningEndsTheRunByItselfWithExitCode1) {
    // Between plan-1F and ソケット in the order of the run.
    WriteWholeFile(dwg + "q固まる.dwg", Drawing("HANG"));
    for (const char* acadArg : {"", "/opendelay:300"}) {
        SCOPED_TRACE(acadArg);
        WriteIni(acadArg, "WaitLimit=3\r\nRestartLimit=0\r\n");
        ::DeleteFileA(log.Path().c_str());
        ::DeleteFileA((dwg + "plan-1F.dxf").c_str());
        {
            TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
            ASSERT_TRUE(run.Started());
            EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Out());
            EXPECT_EQ(run.Out(), (std::vector<std::string>{
                                     "[1/3] " + dwg + "plan-1F.dwg", "[2/3] " + dwg + "q固まる.dwg",
                                     "これらの図面は、変換を行っていません (2 枚):",
                                     "  " + dwg + "q固まる.dwg  (AutoCADが応答しません)",
                                     "      開く図面ﾌｧｲﾙ名を入力: ",  // read before it hung
                                     "  " + dwg + "ソケット.dwg  (AutoCADが応答しません)", Interrupted}));
            EXPECT_EQ(run.Err(), std::vector<std::string>{
                                     "AutoCADが応答しないため、作業を最後まで行えませんでした。"});
        }
        EXPECT_TRUE(Result(dwg + "plan-1F.dxf"));
        EXPECT_TRUE(log.Has("hang")) << log.Text();
        EXPECT_FALSE(log.Has("quit"));
        // The hung stand-in stays until it is ended.
        EXPECT_EQ(CountRunning("standin-acad.exe"), 1);
        guard.EndAll();
    }
}

// A crash on the second drawing and a hang on the fourth: AutoCAD is started
// again after each, the hung one ended, and every other drawing converted.
TEST_F(TovimoCmdTest, AutoCadThatCrashesOrHangsIsStartedAgainAndTheRunGoesOn) {
    const std::string batch = temp.MakeFolder("連続");
    const char* markers[] = {"", "CRASH", "", "HANG", ""};
    for (int n = 1; n <= 5; ++n)
        WriteWholeFile(batch + std::to_string(n) + ".dwg", Drawing(markers[n - 1]));
    WriteIni("", "WaitLimit=3\r\n");
    {
        TovimoCmd run("dxf " + IniOption() + " /log " + Quoted(temp.Path() + "実行.csv") + " " +
                          Quoted(batch),
                      temp.Path());
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Out());
        const auto out = run.Out();
        ASSERT_GE(out.size(), 5u) << ::testing::PrintToString(out);
        // Nothing under the crash; the prompt read before the hang.
        EXPECT_EQ(std::vector<std::string>(out.end() - 5, out.end()),
                  (std::vector<std::string>{
                      "これらの図面は、変換を行っていません (2 枚):",
                      "  " + batch + "2.dwg  (AutoCADが終了したため変換できませんでした)",
                      "  " + batch + "4.dwg  (AutoCADが応答しません)", "      開く図面ﾌｧｲﾙ名を入力: ",
                      Finished}));
        EXPECT_EQ(run.Err(), (std::vector<std::string>{
                                 "AutoCADが終了したため、AutoCADを再起動します (1回目)",
                                 "AutoCADが応答しないため、AutoCADを終了して再起動します (2回目)"}));
    }
    for (int n : {1, 3, 5}) EXPECT_TRUE(Result(batch + std::to_string(n) + ".dxf")) << n;
    // The run log: UTF-8 with its BOM, a header and one line per drawing.
    const std::string csv = ReadWholeFile(temp.Path() + "実行.csv").value_or("");
    const auto rows = SplitLines(csv);
    ASSERT_EQ(rows.size(), 6u) << csv;
    EXPECT_EQ(rows[0], reinterpret_cast<const char*>(u8"\uFEFF番号,図面,変換後,結果,理由,秒,AutoCADの表示"));
    const std::string notAnswering = reinterpret_cast<const char*>(u8",未変換,AutoCADが応答しません,");
    EXPECT_NE(rows[4].find(notAnswering), std::string::npos) << rows[4];
    EXPECT_EQ(rows[4].rfind("4,", 0), 0u) << rows[4];
    // The last column: the prompt read before the hang; nothing after the crash.
    const std::string prompt = reinterpret_cast<const char*>(u8",開く図面ﾌｧｲﾙ名を入力: ");
    EXPECT_EQ(rows[4].substr(rows[4].size() - std::min(rows[4].size(), prompt.size())), prompt);
    EXPECT_EQ(rows[2].back(), ',') << rows[2];
    EXPECT_NE(rows[5].find(reinterpret_cast<const char*>(u8",変換済,,")), std::string::npos) << rows[5];
    for (int n : {2, 4}) EXPECT_FALSE(FileExists(batch + std::to_string(n) + ".dxf")) << n;
    // Three stand-ins, three processes; each set up for the run.
    const auto starts = log.OfKind("start");
    ASSERT_EQ(starts.size(), 3u) << log.Text();
    EXPECT_NE(starts[0].Field(8), starts[1].Field(8));
    EXPECT_NE(starts[1].Field(8), starts[2].Field(8));
    EXPECT_EQ(SysVarHistory("FILEDIA"), (std::vector<std::string>{"0", "0", "0", "1"}));
    EXPECT_TRUE(log.Has("crash"));
    EXPECT_TRUE(log.Has("hang"));
    EXPECT_TRUE(log.WaitFor("quit"));
    EXPECT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
}

TEST_F(TovimoCmdTest, AnUpdateOverTwoFoldersWithOneDrawingNameListsTheSecondWithoutAutoCad) {
    WriteIni();
    const std::string first = temp.MakeFolder("2023");
    const std::string second = temp.MakeFolder("2024");
    const std::string out = temp.MakeFolder("出力");
    for (const std::string& folder : {first, second}) WriteWholeFile(folder + "平面図.dwg", Drawing());
    const std::string failed = temp.Path() + "failed.txt";
    const std::string csv = temp.Path() + "更新.csv";
    const std::string folders = " " + IniOption() + " /f " + Quoted(failed) + " /log " + Quoted(csv) +
                                " /o " + Quoted(out) + " /-k " + Quoted(first) + " " + Quoted(second);
    const std::string taken = "  " + second + "平面図.dwg  (同じ名前の変換後ファイルになる図面が先にあります)";
    {
        TovimoCmd run("dxf" + folders, temp.Path());
        EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
        EXPECT_TRUE(run.OutHas(taken)) << ::testing::PrintToString(run.Out());
    }
    EXPECT_EQ(Result(out + "平面図.dxf").value_or(standin::StandinDrawing{}).source, first + "平面図.dwg");
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    const auto lastWrite = [](const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    };
    EXPECT_EQ(lastWrite(out + "平面図.dxf"), lastWrite(first + "平面図.dwg"));

    // With /u: the first drawing's result is up to date, the second drawing's
    // result is the first one's. Nothing is left for AutoCAD.
    const std::size_t starts = log.OfKind("start").size();
    TovimoCmd update("dxf /u" + folders, temp.Path());
    EXPECT_EQ(update.ExitCode(), 1) << ::testing::PrintToString(update.Err());
    EXPECT_EQ(update.Out(), (std::vector<std::string>{"最新のため省略: 1",
                                                      "これらの図面は、変換を行っていません (1 枚):", taken}));
    EXPECT_EQ(log.OfKind("start").size(), starts);
    EXPECT_EQ(CountRunning("standin-acad.exe"), 0);
    EXPECT_EQ(ReadWholeFile(failed), second + "平面図.dwg\r\n");
    const auto rows = SplitLines(ReadWholeFile(csv).value_or(""));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[1].find(reinterpret_cast<const char*>(u8",省略,最新のため省略,")), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find(reinterpret_cast<const char*>(u8",未変換,同じ名前の変換後ファイルになる図面が先にあります,")),
              std::string::npos)
        << rows[2];
}

TEST_F(TovimoCmdTest, ALogHeldByAnotherProgramForSecondsMidRunEndsUpWhole) {
    const std::string batch = temp.MakeFolder("長い");
    for (int n = 1; n <= 5; ++n) WriteWholeFile(batch + std::to_string(n) + ".dwg", Drawing());
    WriteIni("/opendelay:1000");
    const std::string csv = temp.Path() + "実行.csv";
    TovimoCmd run("dxf " + IniOption() + " /log " + Quoted(csv) + " " + Quoted(batch), temp.Path());
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(WaitUntil([&] { return SplitLines(ReadWholeFile(csv).value_or("")).size() >= 2; },
                          RunLimitMs));
    // As a viewer holds it: reading, sharing only reading.
    const HANDLE held = ::CreateFileA(csv.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    LARGE_INTEGER before{}, after{};
    ::GetFileSizeEx(held, &before);
    ::Sleep(3000);
    ::GetFileSizeEx(held, &after);
    const bool runningAtRelease = run.ExitCode(0) == -1;
    ::CloseHandle(held);
    EXPECT_EQ(after.QuadPart, before.QuadPart);  // nothing got in meanwhile
    EXPECT_TRUE(runningAtRelease);
    EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Err());
    EXPECT_TRUE(run.Err().empty()) << ::testing::PrintToString(run.Err());
    const auto rows = SplitLines(ReadWholeFile(csv).value_or(""));
    ASSERT_EQ(rows.size(), 6u) << ::testing::PrintToString(rows);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(rows[n].rfind(std::to_string(n) + ",", 0), 0u) << rows[n];
        EXPECT_NE(rows[n].find("\\" + std::to_string(n) + ".dwg,"), std::string::npos) << rows[n];
        EXPECT_NE(rows[n].find(reinterpret_cast<const char*>(u8",変換済,,")), std::string::npos) << rows[n];
    }
}

TEST_F(TovimoCmdTest, AFrozenProgramOnTheDesktopDoesNotStopTheRun) {
    HungProgram frozen("固まったプログラム");
    ASSERT_NE(frozen.Window(), nullptr);
    WriteIni();
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
    EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Err());
    EXPECT_TRUE(Result(dwg + "plan-1F.dxf"));
    EXPECT_TRUE(Result(dwg + "ソケット.dxf"));
    EXPECT_EQ(run.Out().back(), Finished);
    // Pelkadu read past the frozen window, found the startup dialog and ended.
    EXPECT_TRUE(log.Has("pressed")) << log.Text();
    EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 0; }, 40000));
}

TEST_F(TovimoCmdTest, AutoCadThatCannotStartGives3AndAnotherRunningAutoCadGives4) {
    WriteIni("", "AcadPath=" + BinFolder() + "missing-acad.exe\r\n");
    {
        TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
        EXPECT_EQ(run.ExitCode(), 3);
        EXPECT_EQ(run.Err(), std::vector<std::string>{"Auto CADを起動できません"});
        EXPECT_TRUE(run.Out().empty());
    }
    WriteIni();
    const StandinLogFile usersLog{temp.Path() + "users-acad.log"};
    StartedProgram users(BinFolder() + "standin-acad.exe " + usersLog.Switch());
    ASSERT_TRUE(usersLog.WaitFor("window"));
    ASSERT_TRUE(WaitUntil([&] { return usersLog.OfKind("prompt").size() > 0; }, 15000));
    {
        TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
        EXPECT_EQ(run.ExitCode(), 4);
        EXPECT_EQ(run.Err(), std::vector<std::string>{"起動中のAuto CADを終了させてください。"});
        EXPECT_TRUE(usersLog.OfKind("copydata").empty());
        EXPECT_EQ(CountRunning("standin-acad.exe"), 1);
    }
    EXPECT_FALSE(FileExists(dwg + "plan-1F.dxf"));
    guard.EndAll();
}

// The shell shows no message box of its own that an unattended run would
// wait on for ever: the start fails and says so.
TEST_F(TovimoCmdTest, WithNoAutoCadProgramAndNoDrawing1TheRunGives3WithoutAShellMessage) {
    const std::string alone = temp.MakeFolder("単体");
    // The programs as the zip holds them: no Drawing1.dwg beside them.
    for (const char* program : {"TovimoCmd.exe", "Pelkadu.exe"})
        ASSERT_TRUE(::CopyFileA((BinFolder() + program).c_str(), (alone + program).c_str(), FALSE));
    ASSERT_FALSE(FileExists(alone + "Drawing1.dwg"));
    WriteIni("", "AcadPath=\r\n");
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path(), "", alone + "TovimoCmd.exe");
    EXPECT_EQ(run.ExitCode(10000), 3) << "a message box of the shell may be waiting";
    EXPECT_EQ(run.Err(), std::vector<std::string>{"Auto CADを起動できません"});
    EXPECT_EQ(CountRunning("standin-acad.exe"), 0);
}

TEST_F(TovimoCmdTest, AWaitBeyondItsBoundGives5AtOnceAndStartsNothing) {
    WriteIni("", "CommandWait=2147483647\r\n");
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
    EXPECT_EQ(run.ExitCode(10000), 5);
    EXPECT_EQ(run.Err(), std::vector<std::string>{"設定 CommandWait (コマンド間、ミリ秒) は 0 から 60000 "
                                                  "までにしてください: 2147483647"});
    EXPECT_EQ(CountRunning("standin-acad.exe"), 0);
    EXPECT_FALSE(FileExists(log.Path()));
}

// Pelkadu is started through the system's command interpreter, never through
// a CMD.EXE that lies in the current folder.
TEST_F(TovimoCmdTest, ACmdExeInTheCurrentFolderIsNotRun) {
    const std::string current = temp.MakeFolder("作業");
    ASSERT_TRUE(::CopyFileA((BinFolder() + "wine-probe.exe").c_str(), (current + "CMD.EXE").c_str(), FALSE));
    WriteIni();
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path(), current);
    EXPECT_EQ(run.ExitCode(), 0) << ::testing::PrintToString(run.Err());
    EXPECT_FALSE(log.OfKind("pressed").empty()) << log.Text();  // Pelkadu ran all the same
    ::Sleep(500);
    EXPECT_FALSE(FileExists(current + "probe-report.txt"));
}

TEST_F(TovimoCmdTest, ARefusalGives5BeforeAutoCadIsStarted) {
    WriteIni("", "CommandWait=abc\r\n");
    TovimoCmd run("dxf " + IniOption() + " " + Quoted(dwg), temp.Path());
    EXPECT_EQ(run.ExitCode(), 5);
    ASSERT_FALSE(run.Err().empty());
    EXPECT_NE(run.Err()[0].find("CommandWait"), std::string::npos);
    EXPECT_EQ(CountRunning("standin-acad.exe"), 0);
    EXPECT_FALSE(FileExists(log.Path()));
    EXPECT_EQ(ReadWholeFile(ini), iniText);
}

}  // namespace
}  // namespace tovimo::wine_tests

namespace tovimo::wine_tests {
namespace {

// Three AutoCADs side by side, each a stand-in process with a log of its own.
TEST_F(TovimoCmdTest, SlashJThreeConvertsWithThreeAutoCadsAndListsFailuresInTheRunsOrder) {
    const std::string many = temp.MakeFolder("多数");
    std::vector<std::string> drawings;
    for (int i = 1; i <= 12; ++i) {
        drawings.push_back(many + "S" + (i < 10 ? "0" : "") + std::to_string(i) + ".dwg");
        WriteWholeFile(drawings.back(), Drawing(i == 4 || i == 9 ? "FAIL" : ""));
    }
    WriteIni("/opendelay:300 /savedelay:150 " + PerProcessLogSwitch(temp.Path(), "acad-"));
    const std::string failed = temp.Path() + "failed.txt";
    {
        TovimoCmd run("dxf /j 3 /f " + Quoted(failed) + " /log " + Quoted(temp.Path() + "j3.csv") +
                          " " + IniOption() + " " + Quoted(many),
                      temp.Path());
        EXPECT_EQ(run.ExitCode(), 1) << ::testing::PrintToString(run.Err());
        const auto out = run.Out();
        ASSERT_GE(out.size(), 15u) << ::testing::PrintToString(out);
        // Each drawing announced as it starts, in the run's order.
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(out[i], "[" + std::to_string(i + 1) + "/12] " + drawings[i]);
        std::vector<std::string> listed;
        for (const auto& line : out)
            if (line.rfind("  " + many, 0) == 0)
                listed.push_back(line.substr(2, line.find("  (", 2) - 2));
        EXPECT_EQ(listed, (std::vector<std::string>{drawings[3], drawings[8]}));
        // Under each, indented, the message of the box AutoCAD showed.
        for (int i : {3, 8})
            EXPECT_NE(std::find(out.begin(), out.end(),
                                "      " + drawings[i] + " は有効な図面ファイルではありません。"),
                      out.end());
        EXPECT_EQ(out.back(), Finished);
    }
    EXPECT_EQ(ReadWholeFile(failed), drawings[3] + "\r\n" + drawings[8] + "\r\n");
    // The run log: a line per drawing as it ended, each with its place in the run.
    const std::string csv = ReadWholeFile(temp.Path() + "j3.csv").value_or("");
    const auto rows = SplitLines(csv);
    ASSERT_EQ(rows.size(), 13u) << csv;
    std::vector<int> numbers;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const int number = std::stoi(rows[r].substr(0, rows[r].find(',')));
        numbers.push_back(number);
        const bool failedToOpen = number == 4 || number == 9;
        EXPECT_NE(rows[r].find(reinterpret_cast<const char*>(failedToOpen ? u8",未変換," : u8",変換済,")),
                  std::string::npos)
            << rows[r];
        // The last column: what AutoCAD's box said, empty for those converted.
        const std::string shown = reinterpret_cast<const char*>(u8".dwg は有効な図面ファイルではありません。");
        EXPECT_EQ(rows[r].size() > shown.size() &&
                      rows[r].compare(rows[r].size() - shown.size(), shown.size(), shown) == 0,
                  failedToOpen)
            << rows[r];
        if (!failedToOpen) {
            EXPECT_EQ(rows[r].back(), ',') << rows[r];
        }
    }
    std::sort(numbers.begin(), numbers.end());
    for (int i = 0; i < 12; ++i) EXPECT_EQ(numbers[i], i + 1);
    for (int i = 0; i < 12; ++i) {
        const std::string result = drawings[i].substr(0, drawings[i].size() - 4) + ".dxf";
        EXPECT_EQ(FileExists(result), i != 3 && i != 8) << result;
    }
    // Three stand-ins, each set up, given drawings and closed; every drawing opened once.
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    const auto logs = PerProcessLogs(temp.Path(), "acad-");
    ASSERT_EQ(logs.size(), 3u);
    std::vector<std::string> opened;
    for (const auto& acad : logs) {
        EXPECT_EQ(acad.OfKind("start").size(), 1u);
        // Started side by side, each pressed by a Pelkadu of its own.
        const auto presses = acad.OfKind("pressed");
        EXPECT_EQ(std::count_if(presses.begin(), presses.end(),
                                [](const auto& press) { return press.Field(0) == "ｽﾀｰﾄｱｯﾌﾟ"; }),
                  1)
            << acad.Text();
        EXPECT_EQ(acad.OfKind("quit").size(), 1u) << acad.Text();
        const auto reads = acad.OfKind("read");
        EXPECT_FALSE(reads.empty()) << acad.Text();
        for (const auto& read : reads) opened.push_back(read.Field(0));
        std::vector<std::string> fileDia;
        for (const auto& entry : acad.OfKind("sysvar"))
            if (entry.Field(0) == "FILEDIA") fileDia.push_back(entry.Field(1));
        EXPECT_EQ(fileDia, (std::vector<std::string>{"0", "1"}));
    }
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened, drawings);
    EXPECT_TRUE(WaitUntil([] { return CountRunning("Pelkadu.exe") == 0; }, 15000));
}

// Three workstations on one folder, one after the other. The parts depend
// on the temporary folder's name, so the test takes them as they come.
TEST_F(TovimoCmdTest, ThreeRunsOfAThirdEachConvertEveryDrawingOnceAndAPairSharingAResultInOnePart) {
    WriteIni();
    const std::string shared = temp.MakeFolder("分担");
    temp.MakeFolder("分担\\乙");
    std::vector<std::string> drawings{shared + "X.dwg"};
    for (int i = 1; i <= 9; ++i) drawings.push_back(shared + "図" + std::to_string(i) + ".dwg");
    const std::string later = shared + "乙\\x.dwg";  // X.dwg's result, in other letter case
    for (const std::string& drawing : drawings) WriteWholeFile(drawing, Drawing());
    WriteWholeFile(later, Drawing());
    const std::string out = temp.MakeFolder("出力");
    std::vector<std::string> announced;
    int counted = 0;
    int partOfFirst = 0;
    int partOfLater = 0;
    for (int part = 1; part <= 3; ++part) {
        SCOPED_TRACE(part);
        const std::string shard = std::to_string(part) + "/3";
        TovimoCmd run("dxf /s /o " + Quoted(out) + " /-k /shard " + shard + " " + IniOption() + " " +
                          Quoted(shared),
                      temp.Path());
        const long code = run.ExitCode();
        const auto lines = run.Out();
        ASSERT_FALSE(lines.empty()) << ::testing::PrintToString(run.Err());
        const std::string head = "分担 " + shard + ": ";
        ASSERT_EQ(lines[0].rfind(head, 0), 0u) << lines[0];
        const int count = std::stoi(lines[0].substr(head.size()));
        counted += count;
        int announcedHere = 0;
        for (const std::string& line : lines) {
            if (line.rfind("[", 0) == 0) {
                announced.push_back(line.substr(line.find("] ") + 2));
                ++announcedHere;
                if (announced.back() == drawings[0]) partOfFirst = part;
            }
            if (line == "  " + later + "  (同じ名前の変換後ファイルになる図面が先にあります)") partOfLater = part;
        }
        EXPECT_EQ(code, partOfLater == part ? 1 : 0) << ::testing::PrintToString(lines);
        EXPECT_EQ(announcedHere + (partOfLater == part ? 1 : 0), count);
        // A part without drawings starts no AutoCAD.
        EXPECT_EQ(lines.back(), count == 0 ? lines[0] : Finished);
        ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    }
    EXPECT_EQ(counted, 11);
    EXPECT_NE(partOfLater, 0);
    EXPECT_EQ(partOfLater, partOfFirst);
    // Each drawing in one part, and opened and saved once by the stand-ins.
    std::vector<std::string> opened;
    for (const auto& entry : log.OfKind("read")) opened.push_back(entry.Field(0));
    std::sort(announced.begin(), announced.end());
    std::sort(opened.begin(), opened.end());
    std::sort(drawings.begin(), drawings.end());
    EXPECT_EQ(announced, drawings);
    EXPECT_EQ(opened, drawings);
    EXPECT_EQ(log.OfKind("write").size(), drawings.size());
    EXPECT_EQ(Result(out + "X.dxf").value_or(standin::StandinDrawing{}).source, shared + "X.dwg");
}

TEST_F(TovimoCmdTest, CtrlCWithTwoAutoCadsEndsEachAfterItsDrawingRestoredAndClosed) {
    WriteIni("/opendelay:700 " + PerProcessLogSwitch(temp.Path(), "acad-"));
    for (int i = 1; i <= 12; ++i) WriteWholeFile(dwg + "連番" + std::to_string(i) + ".dwg", Drawing());
    TovimoCmd run("dxf /j 2 " + IniOption() + " " + Quoted(dwg), temp.Path());
    // Both sessions busy: the third drawing is handed out.
    std::vector<std::string> out;
    long started = 0;
    ASSERT_NO_FATAL_FAILURE(InterruptOnceAnnounced(run, 3, out, started));
    EXPECT_LT(started, 14);
    // Every drawing handed out was finished, by one of the two; each
    // AutoCAD was set back and closed.
    ASSERT_TRUE(WaitUntil([] { return CountRunning("standin-acad.exe") == 0; }, 15000));
    const auto logs = PerProcessLogs(temp.Path(), "acad-");
    ASSERT_EQ(logs.size(), 2u);
    long converted = 0;
    for (const auto& acad : logs) {
        for (const auto& entry : acad.OfKind("write")) converted += entry.Field(1) == "DXF";
        std::vector<std::string> fileDia;
        for (const auto& entry : acad.OfKind("sysvar"))
            if (entry.Field(0) == "FILEDIA") fileDia.push_back(entry.Field(1));
        EXPECT_EQ(fileDia, (std::vector<std::string>{"0", "1"})) << acad.Text();
        EXPECT_EQ(acad.OfKind("quit").size(), 1u) << acad.Text();
    }
    EXPECT_EQ(converted, started);
}

}  // namespace
}  // namespace tovimo::wine_tests
