#pragma once
// Which of the main window's controls take input. The window's logic sets
// these; the window shows them.
namespace tovimo {

struct ControlStates {
    bool ToDxfBitBtn = false;
    bool ToDwgBitBtn = false;
    bool ClearBitBtn = false;
    bool AllDeletePop = false;
    bool DeletePop = false;
    bool CancelBitBtn = false;
    bool CloseBitBtn = true;
    bool SaveDirBitBtn = false;
    bool SaveChildDirCheckBox = false;
    // What opens a modal window or edits in place: not during a run.
    bool AcadBitBtn = true;
    bool AboutVer = true;
    bool TreeLabelEdit = true;

    bool operator==(const ControlStates&) const = default;
};

}  // namespace tovimo
