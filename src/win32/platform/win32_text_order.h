#pragma once
// The user locale's collation, without regard to letter case.
#include "drawings/text_order.h"

namespace tovimo::win32 {

class Win32TextOrder : public TextOrder {
public:
    // CompareStringA with LOCALE_USER_DEFAULT and NORM_IGNORECASE.
    int Compare(std::string_view a, std::string_view b) const override;
};

}  // namespace tovimo::win32
