#pragma once
// What the benchmarks that convert against the stand-in share: the DWG to
// DXF macro, the converter aimed at the stand-in beside the benchmark, and
// the settings of an unattended run with the stand-in's startup dialog.
#include <string>
#include <vector>

#include "convert/dwg_dxf.h"

namespace tovimo::bench {

inline const std::vector<std::string> ToDxfMacro{"open",  "#FILE",  "saveas",
                                                 "DXF",   "#ENTER", "#SAVEFILE"};

// The stand-in's program lies in the benchmark's own folder.
inline void AimAtStandin(DwgDxf& converter, const std::string& programFolder) {
    converter.MacroLines = ToDxfMacro;
    converter.SetAcadPath(programFolder + "standin-acad.exe");
}

// Command wait w; AutoCAD closed at the end; results overwritten beside each drawing.
inline ConvertSettings StandinRunSettings(int w) {
    ConvertSettings settings;
    settings.CommandWait = w;
    settings.StartWait = 15;
    settings.AcadClose = true;
    settings.Rewite = true;
    settings.SaveSameDir = true;
    settings.AcadArg = "/startup";
    return settings;
}

}  // namespace tovimo::bench
