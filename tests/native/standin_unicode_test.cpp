// The stand-in built for Unicode: Unicode windows, WM_COPYDATA read as
// UTF-16, its log still in code page 932, and a wrong cbData logged.
#include <gtest/gtest.h>

#include "standin_fixture.h"

namespace tovimo::testing {
namespace {

class StandinUnicode : public StandinTest {
protected:
    // UTF-16 as a Unicode program sends it; cbData given or (units + 1) * 2.
    void TypeUtf16(std::u16string_view units, std::optional<std::uint32_t> cbData = std::nullopt) {
        std::string bytes;
        for (const char16_t unit : units) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        }
        bytes.append(2, '\0');
        const auto size = static_cast<std::uint32_t>(bytes.size());
        bytes.append(8, '\0');  // room for a cbData that claims more
        windows.SendCopyData(standin->MainWindow(), 1, bytes.data(), cbData.value_or(size), 1000);
    }
};

TEST_F(StandinUnicode, ItsWindowsAreUnicodeAndItReadsUtf16) {
    Start({"/unicode"});
    for (const WindowHandle window : {standin->MainWindow(), standin->CommandLineWindow(), standin->TextWindow()})
        EXPECT_TRUE(windows.IsWindowUnicode(window));
    EXPECT_EQ(standin->Log("unicode").size(), 1u);
    TypeUtf16(u"FILEDIA\n0\n");
    EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "0");
    TypeUtf16(u"ab表");
    EXPECT_EQ(CommandLine(), "ｺﾏﾝﾄﾞ: ab表");
    // Logged in code page 932, as an ANSI stand-in logs.
    const auto copydata = standin->Log("copydata");
    ASSERT_EQ(copydata.size(), 2u);
    EXPECT_EQ(copydata[1].Field(1), "8");
    EXPECT_EQ(copydata[1].Field(2), "ab表");
    EXPECT_TRUE(standin->Log("bad-cbdata").empty());
}

TEST_F(StandinUnicode, AWrongCbDataIsLoggedWithTheRightOne) {
    Start({"/unicode"});
    TypeUtf16(u"open\n", 11);  // the zero unit cut in half
    TypeUtf16(u"open\n", 10);  // no zero unit
    TypeUtf16(u"open\n", 14);  // more than the text and its zero
    TypeUtf16(u"open\n");
    const auto bad = standin->Log("bad-cbdata");
    ASSERT_EQ(bad.size(), 3u);
    for (std::size_t i = 0; i < bad.size(); ++i) EXPECT_EQ(bad[i].Field(1), "12");
    EXPECT_EQ(bad[0].Field(0), "11");
    EXPECT_EQ(bad[1].Field(0), "10");
    EXPECT_EQ(bad[2].Field(0), "14");
}

TEST_F(StandinUnicode, CodePage932BytesArriveAsOtherCharacters) {
    Start({"/unicode"});
    Type("FILEDIA\n0\n");  // bytes, as for an ANSI AutoCAD
    EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "1");
    EXPECT_EQ(standin->Log("bad-cbdata").size(), 1u);
    EXPECT_NE(standin->Log("copydata").back().Field(2), "FILEDIA\n0\n");
}

TEST_F(StandinUnicode, AnAnsiStandInHasAnsiWindowsAndChecksNoCbData) {
    Start({"/ansi"});
    EXPECT_FALSE(windows.IsWindowUnicode(standin->MainWindow()));
    windows.SendCopyData(standin->MainWindow(), 1, "FILEDIA\n0\n\0\0", 13, 1000);
    EXPECT_EQ(standin->Model().SysVar("FILEDIA"), "0");
    EXPECT_TRUE(standin->Log("bad-cbdata").empty());
    EXPECT_TRUE(standin->Log("unicode").empty());
}

}  // namespace
}  // namespace tovimo::testing
