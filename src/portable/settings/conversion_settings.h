#pragma once
// The settings of one conversion run.
#include <string>

namespace tovimo {

// Every wait for AutoCAD that the design leaves open is bounded by this,
// unless the settings say otherwise: ten minutes, which a slow AutoCAD
// opening a big drawing does not reach.
constexpr int DefaultWaitLimitSeconds = 600;

constexpr int DefaultRestartLimit = 3;
constexpr int MaxRestartLimit = 100;
constexpr int MaxRestartEvery = 100000;

// How many AutoCAD sessions a run may use side by side.
constexpr int MinAcadCount = 1;
constexpr int MaxAcadCount = 8;

// The settings of one run, in the order the run takes them.
struct ConvertSettings {
    int CommandWait = 100;  // W, milliseconds
    int StartWait = 15;     // seconds
    bool AcadClose = false;
    bool Rewite = false;
    int FileDia = 1;
    int ISaveBak = 1;
    int ProxyNotice = 1;
    bool SaveTmpdwg = false;
    bool SaveSameDir = true;
    std::string SaveDir;
    bool SaveChildDir = true;
    std::string AcadArg;
    bool DYNCancel = false;
    int WaitLimit = DefaultWaitLimitSeconds;  // seconds
    // Drawings in a row that may lose AutoCAD (a crash, a hang) before the
    // run ends; each loss before that starts AutoCAD again.
    int RestartLimit = DefaultRestartLimit;
    // A fresh AutoCAD after every this many drawings; 0: never.
    int RestartEvery = 0;
    // AutoCAD sessions side by side; more than one needs AcadPath.
    int AcadCount = MinAcadCount;
    // 1: AutoCAD keeps one drawing open during the run: SDI 0 is set to 1
    // and put back at the end (SDI 1, 2 and 3 are left alone). 0: SDI is
    // not touched. The settings file's default is 1 (RunSettings); a run
    // set up here without it types only the variables above.
    int SingleDocument = 0;
};

}  // namespace tovimo
