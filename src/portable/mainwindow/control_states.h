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
    // "更新された図面だけ変換", "同時に使うAutoCAD", "実行ログを残す": not during a run.
    bool RunOptionMenus = true;
    // "実行ログのフォルダを開く": while the folder is there, run or not.
    bool OpenLogFolderMenu = false;

    bool operator==(const ControlStates&) const = default;
};

}  // namespace tovimo
