#include "settings/profile_values.h"

#include <climits>

#include <gtest/gtest.h>

#include "memory_profile_file.h"

namespace tovimo {
namespace {

const std::string Ini = "C:\\Tovimo\\tovimo.ini";

TEST(ParseProfileIntegerTest, TakesDecimalAndHexadecimalWithSign) {
    const std::pair<const char*, int> accepted[] = {
        {"0", 0},         {"42", 42},         {"+7", 7},          {"-15", -15},
        {"0x1F", 31},     {"0XfF", 255},      {"$10", 16},        {"-$10", -16},
        {"-0x10", -16},   {"007", 7},         {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},             {"0x7FFFFFFF", INT_MAX},
    };
    for (const auto& [text, value] : accepted) {
        EXPECT_EQ(ParseProfileInteger(text), value) << text;
    }
}

TEST(ParseProfileIntegerTest, RefusesEverythingElse) {
    const char* refused[] = {"",     "-",     "+",   "$",    "0x",     "12abc", "1.5", "1e3",
                             "- 5",  "x10",   "0x1G", "$-1", "--1",    " 12",   "12 ",
                             "2147483648", "-2147483649", "0x80000000", "99999999999999999999"};
    for (const char* text : refused) {
        EXPECT_EQ(ParseProfileInteger(text), std::nullopt) << text;
    }
}

TEST(ProfileValuesTest, IntegersFallBackToTheirDefault) {
    testing::MemoryProfileFile profile;
    EXPECT_EQ(ReadProfileInteger(profile, Ini, "MainForm", "Top", 113), 113);  // no file
    profile.SetText(Ini, "[MainForm]\r\nTop=  -20  \r\nLeft=abc\r\nWidth=\r\n[Other]\r\nHeight=9\r\n");
    EXPECT_EQ(ReadProfileInteger(profile, Ini, "mainform", "TOP", 113), -20);
    EXPECT_EQ(ReadProfileInteger(profile, Ini, "MainForm", "Left", 203), 203);
    EXPECT_EQ(ReadProfileInteger(profile, Ini, "MainForm", "Width", 274), 274);
    EXPECT_EQ(ReadProfileInteger(profile, Ini, "MainForm", "Height", 742), 742);
    EXPECT_EQ(ReadProfileInteger(profile, Ini, "Missing", "Top", 5), 5);
}

TEST(ProfileValuesTest, OnlyOneReadsAsOn) {
    testing::MemoryProfileFile profile;
    profile.SetText(Ini, "[S]\r\nOne=1\r\nZero=0\r\nTwo=2\r\nMinus=-1\r\nText=on\r\nEmpty=\r\n");
    EXPECT_TRUE(ReadProfileBool(profile, Ini, "S", "One", false));
    for (const char* key : {"Zero", "Two", "Minus", "Text", "Empty"}) {
        EXPECT_FALSE(ReadProfileBool(profile, Ini, "S", key, true)) << key;
    }
    EXPECT_TRUE(ReadProfileBool(profile, Ini, "S", "Missing", true));
    EXPECT_FALSE(ReadProfileBool(profile, Ini, "S", "Missing", false));
}

TEST(ProfileValuesTest, WritesDecimalIntegersAndOneOrZero) {
    testing::MemoryProfileFile profile;
    ASSERT_TRUE(WriteProfileInteger(profile, Ini, "MainForm", "Top", -12));
    ASSERT_TRUE(WriteProfileBool(profile, Ini, "MainForm", "Rewite", true));
    ASSERT_TRUE(WriteProfileBool(profile, Ini, "MainForm", "AcadClose", false));
    EXPECT_EQ(profile.Text(Ini), "[MainForm]\r\nTop=-12\r\nRewite=1\r\nAcadClose=0\r\n");

    profile.SetWritable(Ini, false);
    EXPECT_FALSE(WriteProfileInteger(profile, Ini, "MainForm", "Top", 1));
    EXPECT_FALSE(WriteProfileBool(profile, Ini, "MainForm", "Rewite", false));
    EXPECT_EQ(ReadProfileInteger(profile, Ini, "MainForm", "Top", 0), -12);
}

TEST(ProfileValuesTest, StringsComeBackAsWritten) {
    testing::MemoryProfileFile profile;
    const std::string values[] = {"plain",  " lead",    "trail ",   "\tTab\t",  "\"quoted\"",
                                  "'single'", "\"",      "\"open",   "\"\"",     "a\"b\"",
                                  "C:\\表\\ソフト\\acad.exe", ""};
    for (const std::string& value : values) {
        ASSERT_TRUE(WriteProfileText(profile, Ini, "S", "Key", value));
        EXPECT_EQ(ReadProfileString(profile, Ini, "S", "Key", "<missing>"), value) << value;
    }
    // An ordinary value is written as it is, so other readers see it unchanged.
    WriteProfileText(profile, Ini, "S", "Key", "C:\\Program Files\\acad.exe");
    EXPECT_EQ(profile.Text(Ini), "[S]\r\nKey=C:\\Program Files\\acad.exe\r\n");
}

}  // namespace
}  // namespace tovimo
