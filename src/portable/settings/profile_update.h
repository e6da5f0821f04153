#pragma once
// Writing changes into a settings file that other programs, and other copies
// of Tovimo, may be reading and writing too.
#include <functional>
#include <string>
#include <vector>

#include "platform/profile_file.h"
#include "settings/profile_text.h"

namespace tovimo {

// The changes to make, decided on the file as it is just before the write.
// Only edits with a value are made when the file could not be read whole.
using ProfileEditsFor = std::function<std::vector<ProfileEdit>(const ProfileText& current)>;

// Under the lock of the file's folder: reads the file, asks for the edits,
// and replaces the file whole with the edited text. When nothing can be
// made beside the file, or it cannot be read whole, the keys are written
// one by one in place. No edits: the file is not touched. False when the
// file could not be written; a file replaced whole is then as it was.
bool UpdateProfileFile(ProfileFile& profile, const std::string& filePath,
                       const ProfileEditsFor& editsFor);

}  // namespace tovimo
