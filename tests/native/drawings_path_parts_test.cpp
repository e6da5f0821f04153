#include "drawings/path_parts.h"

#include <gtest/gtest.h>

#include "drawings/text_order.h"

namespace tovimo {
namespace {

TEST(PathParts, TheFileNameFollowsTheLastSeparatorOrColonButNeverATrailByte) {
    EXPECT_EQ(FileNameOf("D:\\図面\\A.dwg"), "A.dwg");
    EXPECT_EQ(FileNameOf("D:A.dwg"), "A.dwg");
    EXPECT_EQ(FileNameOf("A.dwg"), "A.dwg");
    EXPECT_EQ(FileNameOf("D:\\ソフト.dwg"), "ソフト.dwg");
    EXPECT_EQ(FileNameOf("D:\\x\\"), "");
}

TEST(PathParts, OnlyTheLastExtensionOfTheFileNameIsRemoved) {
    EXPECT_EQ(RemoveExtension("D:\\図面\\A.dwg"), "D:\\図面\\A");
    EXPECT_EQ(RemoveExtension("D:\\x\\a.b.dwg"), "D:\\x\\a.b");
    EXPECT_EQ(RemoveExtension("D:\\a.b\\c"), "D:\\a.b\\c");
    EXPECT_EQ(RemoveExtension("D:\\表.x\\表"), "D:\\表.x\\表");
    EXPECT_EQ(RemoveExtension("name."), "name");
    EXPECT_EQ(ExtensionOf("D:\\a.b\\c"), "");
    EXPECT_EQ(ExtensionOf("x.dwg.bak"), ".bak");
}

TEST(PathParts, ExtensionsCompareLowerCasedWithoutTouchingDoubleByteCharacters) {
    EXPECT_TRUE(HasLowerCaseExtension("D:\\X.DWG", ".dwg"));
    EXPECT_TRUE(HasLowerCaseExtension("x.Dwg", ".dwg"));
    EXPECT_FALSE(HasLowerCaseExtension("x.dwg.bak", ".dwg"));
    EXPECT_FALSE(HasLowerCaseExtension("D:\\a.dwg\\b", ".dwg"));
    // Full-width letters are other characters, not other letter case.
    EXPECT_FALSE(HasLowerCaseExtension("x.ＤＷＧ", ".dwg"));
    // 0x83 0x41 is "ア"; its trail byte "A" must not become "a".
    EXPECT_EQ(LowerCaseAnsi("ア.DWG"), "ア.dwg");
    EXPECT_TRUE(HasLowerCaseExtension("x.ア", ".ア"));
    EXPECT_FALSE(HasLowerCaseExtension("x.ア", ".ヂ"));
}

TEST(PathParts, TrailingSeparatorsGoButATrailByteStays) {
    EXPECT_EQ(WithoutTrailingSeparators("E:\\Out\\\\"), "E:\\Out");
    EXPECT_EQ(WithoutTrailingSeparators("D:\\"), "D:");
    EXPECT_EQ(WithoutTrailingSeparators("D:\\表"), "D:\\表");
    EXPECT_FALSE(EndsWithSeparator("ソ"));
    EXPECT_TRUE(EndsWithSeparator("ソ\\"));
}

TEST(PathParts, CharactersAreCountedNotBytes) {
    EXPECT_EQ(CharacterCount("D:\\出力"), 5u);
    EXPECT_EQ(CharacterCount("ｺﾏﾝﾄﾞ"), 5u);  // half-width katakana are single bytes
    EXPECT_EQ(ByteOffsetOfCharacter("出力\\a", 2), 4u);
    EXPECT_EQ(ByteOffsetOfCharacter("ab", 5), 2u);
}

TEST(TextOrder, SortsIgnoringLetterCaseAndKeepsEqualPathsInTheirOrder) {
    std::vector<std::string> paths = {"D:\\b.dwg", "D:\\B\\x.dwg", "d:\\A.dwg", "D:\\a.dwg",
                                      "D:\\ab.dwg", "D:\\a"};
    SortPaths(paths, Cp932IgnoreCaseOrder());
    EXPECT_EQ(paths, (std::vector<std::string>{"D:\\a", "d:\\A.dwg", "D:\\a.dwg", "D:\\ab.dwg",
                                               "D:\\b.dwg", "D:\\B\\x.dwg"}));
}

TEST(TextOrder, DoubleByteCharactersAreComparedWhole) {
    const Cp932IgnoreCaseOrder order;
    // "ア" is 0x83 0x41 and "ヂ" 0x83 0x61: folding the trail byte "A" to
    // "a" would make them equal.
    EXPECT_NE(order.Compare("ア", "ヂ"), 0);
    EXPECT_LT(order.Compare("図面A", "図面b"), 0);
    EXPECT_EQ(order.Compare("図面A", "図面a"), 0);
}

}  // namespace
}  // namespace tovimo
