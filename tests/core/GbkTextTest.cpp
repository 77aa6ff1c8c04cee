#include <gtest/gtest.h>

#include "core/GbkText.h"

TEST(GbkText, RoundTripsChineseText) {
    const std::string utf8 = "朗悦行教材(电脑)学习机";
    auto gbk = ov::Utf8ToGbk(utf8);
    ASSERT_TRUE(gbk);
    EXPECT_EQ(gbk->size(), 22u);
    EXPECT_EQ(ov::GbkToUtf8(*gbk), utf8);
}
