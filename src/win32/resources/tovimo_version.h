#pragma once
// The version of the programs, for the version resources and the windows
// that show it. Plain macros, so that the resource compiler reads them too.
#define TOVIMO_VERSION_NUMBERS 1, 90, 0, 0
#define TOVIMO_VERSION_TEXT "1.90"
