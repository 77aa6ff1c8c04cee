#include <gtest/gtest.h>

#include "store/UntPublic.h"

TEST(CipherString, RoundTrip) {
    auto hex = ov::EncipherString("abc", "", 7);
    EXPECT_EQ(ov::DecipherString(hex, ""), "abc");
}
