#include "convert/acad_macro.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "settings/profile_values.h"

namespace tovimo {

namespace {

const std::string LineCountKey = "MACRO_LINES";
const std::string LineKeyPrefix = "MACRO";

std::string LineKey(int index) { return LineKeyPrefix + std::to_string(index); }

// The index in a key name of the form MACRO<decimal, no leading zeros>, in
// any letter case, as the profile functions compare names.
std::optional<int> LineKeyIndex(const std::string& keyName) {
    if (keyName.size() <= LineKeyPrefix.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < LineKeyPrefix.size(); ++i) {
        const char c = keyName[i];
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != LineKeyPrefix[i]) {
            return std::nullopt;
        }
    }
    const std::string digits = keyName.substr(LineKeyPrefix.size());
    const bool allDigits = std::all_of(digits.begin(), digits.end(),
                                       [](char c) { return c >= '0' && c <= '9'; });
    if (!allDigits || (digits.size() > 1 && digits.front() == '0')) {
        return std::nullopt;
    }
    return ParseProfileInteger(digits);
}

}  // namespace

MacroLineKind ClassifyMacroLine(std::string_view line) {
    if (line == "#FILE") return MacroLineKind::SourceFile;
    if (line == "#SAVEFILE") return MacroLineKind::SaveFile;
    if (line == "#TMPNAME") return MacroLineKind::TmpName;
    if (line == "#ENTER") return MacroLineKind::Enter;
    if (line == "#ESC") return MacroLineKind::Escape;
    return MacroLineKind::Command;
}

bool MacroNamesResult(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return ClassifyMacroLine(line) == MacroLineKind::SaveFile;
    });
}

std::vector<ProfileEdit> MacroSectionEdits(const std::string& section,
                                           const std::vector<std::string>& lines,
                                           const std::vector<std::string>& keyNames) {
    const int count = static_cast<int>(lines.size());
    std::vector<ProfileEdit> edits;
    edits.push_back({section, LineCountKey, std::to_string(count)});
    for (int i = 0; i < count; ++i)
        edits.push_back({section, LineKey(i), ProtectProfileValue(lines[static_cast<std::size_t>(i)])});
    for (const std::string& name : keyNames) {
        const std::optional<int> index = LineKeyIndex(name);
        if (index && *index >= count) edits.push_back({section, name, std::nullopt});
    }
    return edits;
}

AcadMacro::AcadMacro(AcadPlatform platform, ProfileFile& profile, UserMessages& messages,
                     std::string iniFileName, std::string macroSection)
    : AcadControl(platform),
      IniFileName(std::move(iniFileName)),
      MacroSection(std::move(macroSection)),
      profile_(profile),
      userMessages_(messages) {
    LoadMacro();
}

AcadMacro::~AcadMacro() {
    if (writeBack_) SaveMacro();
}

// MACRO0 up to MACRO<count - 1>, in this order; a missing or empty line key is
// skipped and the lines after it close up. Only the keys that the section
// holds are read, so that a huge MACRO_LINES costs no time.
void AcadMacro::LoadMacro() {
    const int count = ReadProfileInteger(profile_, IniFileName, MacroSection, LineCountKey, 0);
    if (count <= 0) {
        return;
    }
    std::vector<int> indices;
    for (const std::string& name : profile_.ReadKeyNames(IniFileName, MacroSection)) {
        const std::optional<int> index = LineKeyIndex(name);
        if (index && *index < count) {
            indices.push_back(*index);
        }
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (int index : indices) {
        std::string line =
            ReadProfileString(profile_, IniFileName, MacroSection, LineKey(index), "");
        if (!line.empty()) {
            MacroLines.push_back(std::move(line));
        }
    }
}

// MACRO_LINES first, then every line in ascending order, empty lines as
// empty values. Line keys of an earlier, longer macro stay in the file;
// loading never reads past MACRO_LINES.
void AcadMacro::SaveMacro() {
    const int count = static_cast<int>(MacroLines.size());
    bool allWritten =
        WriteProfileInteger(profile_, IniFileName, MacroSection, LineCountKey, count);
    for (int i = 0; i < count; ++i) {
        if (!WriteProfileText(profile_, IniFileName, MacroSection, LineKey(i),
                                MacroLines[static_cast<std::size_t>(i)])) {
            allWritten = false;
        }
    }
    if (!allWritten) {
        userMessages_.ShowMessage(IniFileName + " に書き込めません", "Tovimo");
    }
}

}  // namespace tovimo
