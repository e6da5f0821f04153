#include "settings/profile_update.h"

namespace tovimo {

namespace {

bool WriteInPlace(ProfileFile& profile, const std::string& filePath,
                  const std::vector<ProfileEdit>& edits) {
    // Every key is tried, so that as much as can be kept is kept. Keys to
    // remove stay: they are never read.
    bool written = true;
    for (const ProfileEdit& edit : edits)
        if (edit.value) written &= profile.WriteString(filePath, edit.section, edit.key, *edit.value);
    return written;
}

}  // namespace

bool UpdateProfileFile(ProfileFile& profile, const std::string& filePath,
                       const ProfileEditsFor& editsFor) {
    const std::unique_ptr<ProfileLock> lock = profile.LockFolder(filePath);
    const ProfileText current = profile.ReadText(filePath);
    const std::vector<ProfileEdit> edits = editsFor(current);
    if (edits.empty()) return true;
    if (current.state == ProfileText::State::Unreadable)
        return WriteInPlace(profile, filePath, edits);
    switch (profile.ReplaceWhole(filePath, ApplyProfileEdits(current.text, edits))) {
        case ReplaceOutcome::Replaced: return true;
        case ReplaceOutcome::Failed: return false;
        case ReplaceOutcome::NothingBeside: break;
    }
    return WriteInPlace(profile, filePath, edits);
}

}  // namespace tovimo
