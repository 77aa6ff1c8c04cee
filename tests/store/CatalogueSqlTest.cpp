#include <gtest/gtest.h>

#include "store/CatalogueSql.h"
#include "store/CipherAndFiles.h"

namespace {

TEST(NextLevelPattern, FillsTheWidthOfTheLevelBelow) {
    struct Case {
        const char* code;
        const char* levels;
        const char* pattern;
    };
    const Case cases[] = {
        {"", "2,2,2,2,2,2,2", "__"},
        {"01", "2,2,2,2,2,2,2", "01__"},
        {"0102", "2,2,2,2,2,2,2", "0102__"},
        {"01020304050607", "2,2,2,2,2,2,2", "01020304050607_"},
        {"0102030405060708", "2,2,2,2,2,2,2", "0102030405060708_"},
        {"A", "1,3,2", "A___"},
        {"A12", "1,3,2", "A12__"},
        {"A1", "1,3,2", "A1__"},  // a short code counts as having reached the level it reaches into
        {"", "", "_"},
        {"01", "2", "01_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ov::NextLevelPattern(c.code, c.levels), c.pattern) << c.code << " / " << c.levels;
    for (const char* bad : {"2,x", "2,,2", "2,2,", "two"})
        EXPECT_THROW(ov::NextLevelPattern("01", bad), ov::EConvertError) << bad;
}

TEST(CatalogueSql, TextsKeepTheirSpacing) {
    EXPECT_EQ(ov::OneLevelSql("RsList", "RsID"),
              "SELECT *  FROM RsList WHERE RsID Like :Cd    AND len(RsID)=:len ORDER BY RsID");
    EXPECT_EQ(ov::AllLevelsSql("RsList", "RsID", ""), "SELECT *  FROM RsList where RsID like '%' ORDER BY RsID");
    EXPECT_EQ(ov::ChildrenSql("RsList", "RsID", "0101"),
              "SELECT * FROM RsList WHERE RsID Like '0101__' ORDER BY RsID");
    EXPECT_EQ(ov::RecordsEqualSql("RsList", "RsID", "0101"), "select * from RsList where RsID = '0101'");
    EXPECT_EQ(ov::ChildTestSql("RsList", "RsID", "01"), "select * from RsList where RsID like '01_%'");
}

TEST(CatalogueSql, QuotesInValuesCannotEndTheText) {
    EXPECT_EQ(ov::ChildrenSql("T", "C", "a'; DROP TABLE T; --"),
              "SELECT * FROM T WHERE C Like 'a''; DROP TABLE T; --__' ORDER BY C");
    EXPECT_EQ(ov::RecordsEqualSql("T", "C", "'"), "select * from T where C = ''''");
}

}  // namespace
