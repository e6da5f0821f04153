#pragma once
// One run of TovimoCmd from its arguments to its exit code: the arguments
// and the settings are checked, the drawings collected and the target
// folders made before AutoCAD is reached; then the conversion runs with
// its progress on the console.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "console/console_output.h"
#include "console/console_view.h"
#include "convert/dwg_dxf.h"
#include "drawings/text_order.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "platform/process_launcher.h"
#include "platform/profile_file.h"
#include "platform/text_encoding.h"
#include "platform/text_files.h"
#include "platform/window_system.h"

namespace tovimo {

struct ConsolePlatform {
    WindowSystem& windows;
    Clock& clock;
    MessagePump& messages;
    ProcessLauncher& processes;
    TextEncoding& encoding;
    ProfileFile& profile;
    FileSystem& files;
    const TextOrder& order;
    ConsoleOutput& output;
    TextFiles& lists;  // the list files of @FILE and /f
};

class ConsoleRun {
public:
    explicit ConsoleRun(ConsolePlatform platform);
    ~ConsoleRun();
    ConsoleRun(const ConsoleRun&) = delete;
    ConsoleRun& operator=(const ConsoleRun&) = delete;

    // The arguments after the program's name; gives the exit code. Call once.
    int Run(const std::vector<std::string>& args);

    // Ctrl+C: the drawing under way is finished, then the run ends with its
    // closing steps. Safe from any thread (the console's control handler
    // runs on one of its own) and at any time: a request made before
    // AutoCAD is reached stays in force once it is.
    void RequestCancel();
    // The program is about to be ended (its console closed): a cancel, and
    // an AutoCAD still starting is ended at once rather than waited for.
    // Safe from any thread, as RequestCancel.
    void RequestEnd();

private:
    // Lets the program's messages run, then hands a pending cancel request
    // to the conversion: the conversion clears its flag once AutoCAD has
    // been reached, and a request made before that must not be lost.
    class CancelPump : public MessagePump {
    public:
        explicit CancelPump(ConsoleRun& run) : run_(run) {}
        void ProcessPendingMessages() override;

    private:
        ConsoleRun& run_;
    };

    void ForwardCancel();
    // Writes the /f list; false, with the reason on the console, when that
    // failed. Does nothing without /f.
    bool WriteNotConverted(const std::vector<std::string>& paths);

    ConsolePlatform platform_;
    ConsoleView view_;
    CancelPump pump_{*this};
    std::atomic<bool> cancelRequested_{false};
    std::atomic<bool> endRequested_{false};
    bool cancelNoticeShown_ = false;
    // Kept until the object goes, so that a late Ctrl+C never meets a
    // destroyed conversion.
    std::unique_ptr<DwgDxf> converter_;
    std::atomic<DwgDxf*> cancelTarget_{nullptr};
    std::string failedList_;  // /f, empty without it
};

}  // namespace tovimo
