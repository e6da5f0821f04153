#include "convert/macro_text.h"

#include <gtest/gtest.h>

namespace tovimo {
namespace {

using Lines = std::vector<std::string>;

TEST(MacroTextTest, LinesEndAtCrLfOrCrLf) {
    EXPECT_EQ(SplitMemoText("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    // LF then CR is two line breaks, not one.
    EXPECT_EQ(SplitMemoText("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitMemoText("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(MacroTextTest, EmptyLinesInsideStayTrailingBreakAddsNone) {
    EXPECT_EQ(SplitMemoText("_open\r\n\r\n#FILE\r\n"), (Lines{"_open", "", "#FILE"}));
    EXPECT_EQ(SplitMemoText("a\n"), (Lines{"a"}));
    EXPECT_EQ(SplitMemoText("a\r"), (Lines{"a"}));
    EXPECT_EQ(SplitMemoText("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitMemoText("\r\n"), (Lines{""}));
    EXPECT_EQ(SplitMemoText(""), Lines{});
    EXPECT_EQ(SplitMemoText(" \t "), (Lines{" \t "}));
}

TEST(MacroTextTest, TextEndsAtNul) {
    using namespace std::string_literals;
    EXPECT_EQ(SplitMemoText("a\r\nb\0c\r\nd"s), (Lines{"a", "b"}));
    EXPECT_EQ(SplitMemoText("a\r\n\0b"s), (Lines{"a"}));
    EXPECT_EQ(SplitMemoText("\0a"s), Lines{});
}

TEST(MacroTextTest, JoinedLinesSplitBackUnchanged) {
    const Lines lines{"_open", "", "#FILE", " 表示 ", ""};
    EXPECT_EQ(JoinMemoLines(lines), "_open\r\n\r\n#FILE\r\n 表示 \r\n\r\n");
    EXPECT_EQ(SplitMemoText(JoinMemoLines(lines)), lines);
    EXPECT_EQ(JoinMemoLines({}), "");
}

}  // namespace
}  // namespace tovimo
