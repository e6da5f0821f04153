#include "text/cp932_text.h"

#include <gtest/gtest.h>

namespace tovimo {
namespace {

TEST(Cp932Text, NeverMatchesOnTheTrailByteOfADoubleByteCharacter) {
    // "ソ" is 0x83 0x5C: its trail byte is the byte of "\".
    EXPECT_EQ(std::string("\x83\x5C", 2), std::string("ソ"));
    EXPECT_FALSE(ContainsText("ソ", "\\"));
    EXPECT_FALSE(ContainsText("D:\\ソフト", "\\\\"));
    EXPECT_EQ(FindText("ソ\\", "\\"), 3);
    // "表" (0x95 0x5C) followed by "\": only the real separator is found.
    EXPECT_EQ(FindText("表\\a", "\\a"), 3);
}

TEST(Cp932Text, PositionsCountBytesFromOne) {
    EXPECT_EQ(FindText("ｺﾏﾝﾄﾞ: ", "ｺﾏﾝﾄﾞ"), 1);
    EXPECT_EQ(FindText("前のコマンド: ", "コマンド:"), 5);
    EXPECT_EQ(FindText("abcabc", "c"), 3);
    EXPECT_TRUE(StartsWithText("AutoCAD LT", "Auto"));
    EXPECT_FALSE(StartsWithText(" AutoCAD", "Auto"));
}

TEST(Cp932Text, EmptyTextOrEmptyPartNeverMatches) {
    EXPECT_EQ(FindText("", "a"), 0);
    EXPECT_EQ(FindText("abc", ""), 0);
    EXPECT_EQ(FindText("", ""), 0);
}

TEST(Cp932Text, IsCaseSensitiveAndNeedsTheWholePart) {
    EXPECT_FALSE(ContainsText("autocad", "AutoCAD"));
    EXPECT_FALSE(ContainsText("Aut", "Auto"));
    // A lead byte at the very end is taken as a single byte.
    EXPECT_EQ(FindText(std::string("a\x83", 2), std::string("\x83", 1)), 2);
}

TEST(Cp932Text, HalfWidthAndFullWidthFormsDiffer) {
    EXPECT_FALSE(ContainsText("ｷｬﾝｾﾙ", "キャンセル"));
    EXPECT_TRUE(ContainsText("スタートアップ", "スタートアップ"));
}

}  // namespace
}  // namespace tovimo
