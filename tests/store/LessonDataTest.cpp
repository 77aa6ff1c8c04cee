#include <gtest/gtest.h>

#include <cstdlib>

#include "store/CatalogueLevels.h"
#include "store/CatalogueMerge.h"
#include "store/SqliteDatabase.h"
#include "store/StoredSecrets.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"
#include "support/CatalogueTestDb.h"
#include "support/LogCapture.h"
#include "support/TestFiles.h"

namespace {

std::string CataloguePassword() { return ov::DecipherString(ov::kCatalogueDbPassword, ""); }
std::string WordPassword() { return ov::DecipherString(ov::kWordDbPassword, ov::kDefaultCipherKey); }

class LessonDataTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("OV_HOME", home.path().c_str(), 1); }
    void TearDown() override { unsetenv("OV_HOME"); }

    ovtest::TempDir home;
};

TEST_F(LessonDataTest, ConnectionTextsFollowTheirFixedOrder) {
    EXPECT_EQ(ov::CatalogueConnectionString(ov::DataFolders::Current()),
              "Data Source=" + (home / "DB/RsDbList.db").string() + ";Password='" + CataloguePassword() + "'");
    EXPECT_EQ(ov::WordDbPath("/r/A/OV/Class"), "/r/A/OV/Class/words.db");
    EXPECT_EQ(ov::WordDbConnectionString("/r/A/OV/Class"),
              "Data Source=/r/A/OV/Class/words.db;Password='" + WordPassword() + "'");
}

// Whatever state the catalogue is in, creating the data module never throws;
// only a usable catalogue leaves the connection open.
TEST_F(LessonDataTest, CatalogueOpensAtCreationOrStaysClosed) {
    const auto db = home / "DB/RsDbList.db";
    const ovtest::Entries entries = {{"01", "人教版"}};
    struct Case {
        const char* what;
        std::function<void()> make;
        bool connected;
    };
    const Case cases[] = {
        {"missing", [] {}, false},
        {"plain", [&] { ovtest::WriteCatalogue(db, entries); }, true},
        {"container", [&] { ovtest::WriteCatalogue(db, entries, CataloguePassword()); }, true},
        {"wrong password", [&] { ovtest::WriteCatalogue(db, entries, "other"); }, false},
        {"corrupt", [&] { ovtest::WriteFile(db, std::string(1000, '\x17')); }, false},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(db);
        c.make();
        ovtest::LogCapture log;
        ov::LessonData dm;
        EXPECT_EQ(dm.adoConn.Connected(), c.connected) << c.what;
        EXPECT_EQ(log.Has(ov::LogLevel::Warning, "store", db.string()), !c.connected) << c.what;
        if (!c.connected) {
            dm.adodsRsList.SetSql("select * from RsList");
            EXPECT_THROW(dm.adodsRsList.Open(), ov::ESqliteError) << c.what;
        }
    }
}

// Catalogues of several courseware folders show as one tree. A book comes
// whole from the first folder holding its code, so the pupil's own copy hides
// the shared one without mixing their units; a catalogue that does not open
// costs only its own books.
TEST(LessonDataMerge, CataloguesOfEveryCoursewareFolderShowAsOne) {
    ovtest::TempDir root;
    ov::FolderEnvironment env;
    env.executableFolder = root / "bin";
    env.dataHome = (root / "user").string();
    env.dataDirs = (root / "sys1").string() + ":" + (root / "sys2").string();
    env.writable = [](const std::filesystem::path&) { return true; };
    const std::string password = CataloguePassword();
    ovtest::WriteCatalogue(root / "user/ovplayer/DB/RsDbList.db", {{"01", "我的课本"}, {"0101", "Unit A"}}, password);
    ovtest::WriteCatalogue(root / "sys1/ovplayer/DB/RsDbList.db",
                           {{"01", "共用课本"}, {"0102", "Unit X"}, {"02", "Book two"}, {"0201", "Unit B"}}, password);
    ovtest::WriteFile(root / "sys2/ovplayer/DB/RsDbList.db", std::string(1000, '\x17'));

    ovtest::LogCapture log;
    ov::LessonData dm(ov::DataFolders::Find(env));
    ASSERT_TRUE(dm.adoConn.Connected());
    ovtest::Entries shown;
    for (const auto& entry : ov::ReadCatalogueEntries(dm.adoConn.Database())) shown.emplace_back(entry.code, entry.name);
    EXPECT_EQ(shown, (ovtest::Entries{{"01", "我的课本"}, {"0101", "Unit A"}, {"02", "Book two"}, {"0201", "Unit B"}}));
    EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "store", (root / "sys2/ovplayer/DB/RsDbList.db").string()));
    // The tree's own level queries run on the merged catalogue.
    const auto units = ov::ReadChildren(&dm.adoConn, ov::MainCatalogueLayout(), "02");
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].name, "Unit B");
}

TEST_F(LessonDataTest, WordQueryOpensTheLessonsWordList) {
    const std::string classPath = (home / "Resources/B/OV/Class").string();
    ovtest::WriteWords(ov::WordDbPath(classPath),
                       {{" apple ", "ˈæpl", "苹果", "I like apples."}, {"bag", "bæg", "书包", "This is my bag."}},
                       WordPassword());
    ov::LessonData dm;
    ASSERT_TRUE(dm.OpenWordQuery(classPath));
    EXPECT_TRUE(dm.adoQryWord.Active());
    EXPECT_EQ(dm.adoQryWord.Sql(), "select * from word ");
    EXPECT_EQ(dm.adoQryWord.RecordCount(), 2);
    EXPECT_EQ(dm.adoQryWord.RecNo(), 1);
    EXPECT_EQ(dm.adoQryWord.FieldByName("word"), " apple ");
    dm.adoQryWord.Next();
    EXPECT_EQ(dm.adoQryWord.FieldByName("ExpSentence"), "This is my bag.");
}

TEST_F(LessonDataTest, WordQueryFailuresAreQuiet) {
    const std::string good = (home / "Resources/A/OV/Class").string();
    const std::string none = (home / "Resources/C/OV/Class").string();
    const std::string bad = (home / "Resources/D/OV/Class").string();
    const std::string noTable = (home / "Resources/E/OV/Class").string();
    ovtest::WriteWords(ov::WordDbPath(good), {{"cat", "kæt", "猫", ""}}, WordPassword());
    ovtest::WriteWords(ov::WordDbPath(bad), {{"cat", "kæt", "猫", ""}}, "not the word password");
    ovtest::WriteCatalogue(ov::WordDbPath(noTable), {{"01", "a"}});

    ovtest::LogCapture log;
    ov::LessonData dm;
    ASSERT_TRUE(dm.OpenWordQuery(good));
    // No word database: the open list stays as it was.
    EXPECT_FALSE(dm.OpenWordQuery(none));
    EXPECT_TRUE(dm.adoQryWord.Active());
    EXPECT_EQ(dm.adoQryWord.FieldByName("word"), "cat");
    // One that cannot be read: the list is closed.
    EXPECT_FALSE(dm.OpenWordQuery(bad));
    EXPECT_FALSE(dm.adoQryWord.Active());
    EXPECT_FALSE(dm.ADOConnWord.Connected());
    EXPECT_FALSE(dm.OpenWordQuery(noTable));
    EXPECT_FALSE(dm.adoQryWord.Active());
    // Quiet for the pupil, not for the log.
    for (const auto& failed : {bad, noTable})
        EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "store", ov::WordDbPath(failed))) << failed;
    EXPECT_FALSE(log.Has(ov::LogLevel::Warning, "store", ov::WordDbPath(good)));
}

// A lesson's word database is outside input: one whose word list is a view
// without end, or with giant values, must fail like a bad file instead of
// freezing the window or exhausting memory.
TEST_F(LessonDataTest, HostileWordViewsFailInsteadOfHanging) {
    const std::string endless =
        "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n) SELECT x AS word, 'kæt' AS symbol, "
        "'猫' AS Acceptation, 'A cat.' AS ExpSentence FROM n";
    const struct {
        const char* what;
        std::string view;
    } cases[] = {
        {"endless rows", endless},
        {"endless search", endless + " WHERE x < 0"},
        {"giant value", "SELECT hex(randomblob(100000000)) AS word, '' AS symbol, '' AS Acceptation, "
                        "'' AS ExpSentence"},
    };
    ov::LessonData dm;
    for (const auto& c : cases) {
        const std::string classPath = (home / c.what / "OV/Class").string();
        std::filesystem::create_directories(classPath);
        auto db = ov::SqliteDatabase::OpenFile(ov::WordDbPath(classPath), ov::SqliteAccess::Create);
        db.Exec("CREATE VIEW word AS " + c.view);
        EXPECT_FALSE(dm.OpenWordQuery(classPath)) << c.what;
        EXPECT_FALSE(dm.adoQryWord.Active()) << c.what;
    }
}

}  // namespace
