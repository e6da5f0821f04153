#pragma once
// What AutoCAD showed about a drawing that was not converted (a message box's
// message, or its command line), as both programs keep it for the run log.
#include <cstddef>
#include <string>
#include <string_view>

namespace tovimo {

constexpr std::size_t MaxAcadShownBytes = 200;

// The text with each line end (CR LF, CR or LF) as one blank, cut to at most
// MaxAcadShownBytes bytes of code page 932 without splitting a character.
std::string AcadShownText(std::string_view text);

}  // namespace tovimo
