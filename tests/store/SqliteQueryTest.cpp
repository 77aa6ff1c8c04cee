#include <gtest/gtest.h>

#include "store/SqliteQuery.h"
#include "store/SqliteStatement.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

class SqliteQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ovtest::WriteWords(dir / "words.db", {{"apple", "ˈæpl", "苹果", "An apple."},
                                              {"bag", "bæg", "书包", "My bag."},
                                              {"cat", "kæt", "猫", "A cat."}});
        connection.SetConnectionString("Data Source=" + (dir / "words.db").string());
        connection.Open();
        query.SetSql("select * from word ");
        query.Open();
    }
    std::string Word() const { return query.FieldByName("word"); }

    ovtest::TempDir dir;
    ov::SqliteConnection connection;
    ov::SqliteQuery query{&connection};
};

TEST_F(SqliteQueryTest, WalksTheRecordsInQueryOrder) {
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_EQ(query.FieldNames(), (std::vector<std::string>{"word", "symbol", "Acceptation", "ExpSentence"}));
    std::vector<std::string> seen;
    for (; !query.Eof(); query.Next()) seen.push_back(std::to_string(query.RecNo()) + Word());
    EXPECT_EQ(seen, (std::vector<std::string>{"1apple", "2bag", "3cat"}));
    EXPECT_EQ(query.FieldByName("ACCEPTATION"), "猫");
    EXPECT_THROW(query.FieldByName("meaning"), ov::ESqliteError);
}

// Past the end the cursor still shows the last record, which is what a resumed
// drill shows once more.
TEST_F(SqliteQueryTest, MovesStopAtTheEnds) {
    struct Case {
        int first, second;
        int recNo;
        bool eof;
        const char* word;
    };
    const Case cases[] = {
        {1, 0, 2, false, "bag"}, {2, 0, 3, false, "cat"}, {3, 0, 3, true, "cat"},
        {7, 0, 3, true, "cat"},  {3, -1, 2, false, "bag"}, {1, -5, 1, false, "apple"},
    };
    for (const auto& c : cases) {
        query.First();
        query.MoveBy(c.first);
        query.MoveBy(c.second);
        EXPECT_EQ(query.RecNo(), c.recNo) << c.first << ", " << c.second;
        EXPECT_EQ(query.Eof(), c.eof) << c.first << ", " << c.second;
        EXPECT_EQ(Word(), c.word) << c.first << ", " << c.second;
    }
}

TEST_F(SqliteQueryTest, EmptyResultAndClosedQuery) {
    query.SetSql("select * from word where word = :w");
    query.SetParameter("w", std::string("zebra"));
    query.Open();
    EXPECT_TRUE(query.Active());
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.RecNo(), 0);
    EXPECT_EQ(Word(), "");
    query.Next();
    EXPECT_TRUE(query.Eof());

    query.SetSql("select * from missing");
    EXPECT_THROW(query.Open(), ov::ESqliteError);
    EXPECT_FALSE(query.Active());
}

TEST(SqliteQuery, GbkTextFromOlderToolsReadsAsUtf8) {
    ovtest::TempDir dir;
    {
        auto db = ov::SqliteDatabase::OpenFile(dir / "old.db", ov::SqliteAccess::Create);
        ov::CreateWordTable(db);
        // "苹果" in GBK, as an older tool stored it.
        ov::AddWord(db, "apple", "", "\xC6\xBB\xB9\xFB", "");
    }
    ov::SqliteConnection connection;
    connection.SetConnectionString("Data Source=" + (dir / "old.db").string());
    connection.Open();
    ov::SqliteQuery query(&connection);
    query.SetSql("select * from word");
    query.Open();
    EXPECT_EQ(query.FieldByName("Acceptation"), "苹果");
}

}  // namespace
