// The bytes of a command text: its own code page 932 bytes for an ANSI
// AutoCAD, UTF-16 for a Unicode one.
#include <gtest/gtest.h>

#include "acadlink/command_text.h"
#include "cp932_text_encoding.h"

namespace tovimo::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16WithZero(std::u16string_view units) {
    Bytes bytes;
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

TEST(CommandText, Utf16FormIsLittleEndianWithItsZeroUnit) {
    Cp932TextEncoding encoding;
    struct Case {
        std::string text;
        std::u16string units;
    };
    // ソ and 表 end in the byte of "\": they stay one character each.
    const std::vector<Case> cases{
        {"open\n", u"open\n"},
        {"D:\\図面\\ソ表.dwg\n", u"D:\\図面\\ソ表.dwg\n"},
        {"\x1b", u"\x1b"},
        {"\n", u"\n"},
        {"ｺﾏﾝﾄﾞ ﾃｷｽﾄ", u"ｺﾏﾝﾄﾞ ﾃｷｽﾄ"},
        {"E:\\出力\\①～―", u"E:\\出力\\①～―"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto data = EncodeCommandText(c.text, CommandTextForm::Utf16, encoding);
        ASSERT_TRUE(data);
        EXPECT_EQ(*data, Utf16WithZero(c.units));
        EXPECT_EQ(data->size(), (c.units.size() + 1) * 2);  // cbData
    }
    // Six units with the zero: the Enter of "open\n" is U+000A, 0x1B is U+001B.
    EXPECT_EQ(EncodeCommandText("open\n", CommandTextForm::Utf16, encoding)->size(), 12u);
    EXPECT_EQ(*EncodeCommandText("\x1b", CommandTextForm::Utf16, encoding), (Bytes{0x1B, 0, 0, 0}));
}

TEST(CommandText, Cp932FormIsTheTextsOwnBytesAndOneZero) {
    Cp932TextEncoding encoding;
    // Whatever the bytes are, the ANSI form neither converts nor checks them.
    for (const std::string& text : {std::string("D:\\図面\\ソ表.dwg\n"), std::string(255, 'a'),
                                   std::string("\x1b"), std::string("bad\x81\n")}) {
        SCOPED_TRACE(text);
        const auto data = EncodeCommandText(text, CommandTextForm::Cp932, encoding);
        ASSERT_TRUE(data);
        Bytes expected(text.begin(), text.end());
        expected.push_back(0);
        EXPECT_EQ(*data, expected);
    }
    EXPECT_EQ(EncodeCommandText(std::string(255, 'a'), CommandTextForm::Cp932, encoding)->size(), 256u);
    EXPECT_EQ(encoding.conversions, 0);
}

TEST(CommandText, ATextThatIsNoCodePage932HasNoUtf16Form) {
    Cp932TextEncoding encoding;
    // A lead byte before Enter, one at the end, an empty row of the table.
    for (const char* text : {"D:\\bad\x81\n", "abc\x81", "\x85\x40\n"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(EncodeCommandText(text, CommandTextForm::Utf16, encoding));
    }
}

}  // namespace
}  // namespace tovimo::testing
