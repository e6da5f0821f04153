#pragma once
// The bytes of one command text as AutoCAD's main window reads them from
// WM_COPYDATA. An AutoCAD built for code page 932 (up to the 2006 releases)
// reads the bytes and a zero; one built for Unicode (every release since
// 2007) reads UTF-16 and a zero unit.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"

namespace tovimo {

enum class CommandTextForm {
    Cp932,  // the text's own bytes, then one zero byte
    Utf16,  // UTF-16 little-endian, then one zero unit: cbData = (units + 1) * 2
};

// The lpData of the message; its size is cbData. Nothing when the text has
// no UTF-16 form (it is not code page 932); the Cp932 form always has one.
std::optional<std::vector<std::uint8_t>> EncodeCommandText(std::string_view text,
                                                           CommandTextForm form,
                                                           TextEncoding& encoding);

}  // namespace tovimo
