#include <gtest/gtest.h>

#include "core/GbkText.h"

TEST(GbkText, RoundTripsChineseText) {
    const std::string utf8 = "朗悦行教材(电脑)学习机";
    auto gbk = ov::Utf8ToGbk(utf8);
    ASSERT_TRUE(gbk);
    EXPECT_EQ(gbk->size(), 22u);
    EXPECT_EQ(ov::GbkToUtf8(*gbk), utf8);
}

TEST(GbkText, DecodesGbkOnlyCharactersInFilesThatClaimGb2312) {
    // 镕 (0xE946) is outside GB2312 but in GBK.
    EXPECT_EQ(ov::GbkToUtf8("\xE9\x46"), "镕");
}

TEST(GbkText, DamagedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(ov::GbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(ov::GbkToUtf8("ab\xB0"), "ab\xEF\xBF\xBD");
}

TEST(GbkText, RefusesTextGbkCannotHold) {
    EXPECT_FALSE(ov::Utf8ToGbk("emoji \xF0\x9F\x98\x80"));
    EXPECT_FALSE(ov::Utf8ToGbk("bad \xC3"));
    EXPECT_EQ(ov::Utf8ToGbk(""), std::string());
}
