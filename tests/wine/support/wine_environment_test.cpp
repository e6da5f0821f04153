// Linked into every Wine test program: the tests only mean something on a
// system that works in code page 932, as the users' Japanese Windows does.
#include <gtest/gtest.h>

#include "platform/win32_api.h"

TEST(WineEnvironment, AnsiCodePageIsShiftJis) {
    EXPECT_EQ(::GetACP(), 932u);
}
