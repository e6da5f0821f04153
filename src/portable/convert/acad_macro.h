#pragma once
// One conversion macro: the command lines that a run types into AutoCAD for
// every drawing. The lines live in one section of the settings file; they are
// loaded when the object is made and written back when it is destroyed.
#include <string>
#include <string_view>
#include <vector>

#include "acadlink/acad_control.h"
#include "platform/profile_file.h"
#include "platform/user_messages.h"
#include "settings/profile_text.h"

namespace tovimo {

// What a macro line stands for. A line is a placeholder only when it is
// exactly one of "#FILE", "#SAVEFILE", "#TMPNAME", "#ENTER" or "#ESC": same
// case, nothing before or after it. Every other line is a command line that is
// sent as it is.
enum class MacroLineKind {
    Command,
    SourceFile,  // "#FILE"
    SaveFile,    // "#SAVEFILE"
    TmpName,     // "#TMPNAME"
    Enter,       // "#ENTER"
    Escape,      // "#ESC"
};

MacroLineKind ClassifyMacroLine(std::string_view line);
// Whether the macro has a "#SAVEFILE" line: only then is its result known.
bool MacroNamesResult(const std::vector<std::string>& lines);

// What makes a macro section hold exactly these lines: MACRO_LINES, then
// every line in ascending order (empty lines as empty values), and the line
// keys of a longer macro that the section holds (keyNames, in any case)
// removed.
std::vector<ProfileEdit> MacroSectionEdits(const std::string& section,
                                           const std::vector<std::string>& lines,
                                           const std::vector<std::string>& keyNames);

class AcadMacro : public AcadControl {
public:
    // Loads the macro from section macroSection of the settings file
    // iniFileName. A missing file, section or key gives a shorter or empty
    // macro and is not reported. profile and messages must outlive the object.
    AcadMacro(AcadPlatform platform, ProfileFile& profile, UserMessages& messages,
              std::string iniFileName, std::string macroSection);
    // Writes the macro back to its section, unless write-back was turned off.
    // When the settings file cannot be written, the user is told once and
    // every write is still tried.
    ~AcadMacro() override;

    // Off: the object leaves the settings file as it found it (a program that
    // only reads the settings, such as the console program).
    void SetWriteBack(bool writeBack) { writeBack_ = writeBack; }
    bool WritesBack() const { return writeBack_; }

    // The object's own list; callers replace its content.
    std::vector<std::string>& GetMacroLines() { return MacroLines; }
    const std::vector<std::string>& GetMacroLines() const { return MacroLines; }

    const std::string IniFileName;
    const std::string MacroSection;
    std::vector<std::string> MacroLines;

private:
    void LoadMacro();
    void SaveMacro();

    ProfileFile& profile_;
    UserMessages& userMessages_;
    bool writeBack_ = true;
};

}  // namespace tovimo
