#include "runlists/target_path.h"

#include <gtest/gtest.h>

namespace tovimo {
namespace {

TEST(SaveFileTarget, BesideTheSourceWinsOverTheOtherRules) {
    const TargetRules rules{true, "E:\\出力", true};
    EXPECT_EQ(SaveFileTarget(rules, "D:\\図面\\A.dwg", 0, {"E:\\elsewhere\\A"}), "D:\\図面\\A");
    EXPECT_EQ(SaveFileTarget(rules, "D:\\a.b\\c", 0, {}), "D:\\a.b\\c");
}

TEST(SaveFileTarget, WithSubFoldersKeptTheRunListEntryIsTakenUnchanged) {
    const TargetRules rules{false, "E:\\Out", true};
    const std::vector<std::string> targets = {"E:\\Out\\Plans\\A", "E:\\Out\\Plans\\Floor1\\B"};
    EXPECT_EQ(SaveFileTarget(rules, "D:\\Plans\\Floor1\\B.dwg", 1, targets),
              "E:\\Out\\Plans\\Floor1\\B");
}

TEST(SaveFileTarget, OtherwiseEveryResultLiesDirectlyInTheOutputFolder) {
    const TargetRules rules{false, "E:\\出力", false};
    EXPECT_EQ(SaveFileTarget(rules, "D:\\図面\\A.dwg", 0, {"ignored"}), "E:\\出力\\A");
    EXPECT_EQ(SaveFileTarget(rules, "D:\\x\\a.b.DWG", 0, {}), "E:\\出力\\a.b");
    EXPECT_EQ(SaveFileTarget(rules, "D:\\ソ\\表", 0, {}), "E:\\出力\\表");
    // A chosen drive root or a typed "\" at the end gives no doubled separator.
    EXPECT_EQ(SaveFileTarget({false, "E:\\", false}, "D:\\A.dwg", 0, {}), "E:\\A");
    EXPECT_EQ(SaveFileTarget({false, "E:\\Out\\", false}, "D:\\A.dwg", 0, {}), "E:\\Out\\A");
    // A folder name that ends in the byte of "\" keeps it.
    EXPECT_EQ(SaveFileTarget({false, "E:\\表", false}, "D:\\A.dwg", 0, {}), "E:\\表\\A");
}

TEST(SaveFileTarget, AShortTargetListIsNotReadPastItsEnd) {
    const TargetRules rules{false, "E:\\Out", true};
    EXPECT_EQ(SaveFileTarget(rules, "D:\\P\\A.dwg", 2, {"E:\\Out\\P\\Z"}), "E:\\Out\\A");
}

}  // namespace
}  // namespace tovimo
