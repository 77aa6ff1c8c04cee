#include <gtest/gtest.h>

#include "store/CatalogueLevels.h"
#include "store/ConnectionString.h"
#include "store/SqliteAuthoring.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

using Nodes = std::vector<std::pair<std::string, std::string>>;

Nodes Pairs(const std::vector<ov::CatalogueNode>& nodes) {
    Nodes pairs;
    for (const auto& node : nodes) pairs.emplace_back(node.code, node.name);
    return pairs;
}

const ovtest::Entries kEntries = {{"01", "人教版"}, {"0101", "三上"}, {"0102", "三下"}, {"010101", "U1"}, {"02", "外研"}};

void OpenCatalogue(ov::SqliteConnection& connection, const ovtest::TempDir& dir) {
    ovtest::WriteCatalogue(dir / "c.db", kEntries, "pw");
    connection.SetConnectionString(ov::FormatConnectionString((dir / "c.db").string(), "pw"));
    connection.Open();
}

// The player's tree and `ovtool catalogue tree` both load this way: the top
// level by its pattern, then the level below each node asked for.
TEST(CatalogueLevels, LoadsOneLevelAtATime) {
    ovtest::TempDir dir;
    ov::SqliteConnection connection;
    OpenCatalogue(connection, dir);
    const auto layout = ov::MainCatalogueLayout();
    ov::SqliteQuery top(&connection);
    ov::OpenLevel(top, layout, "");
    EXPECT_EQ(Pairs(ov::ReadNodes(top, layout)), (Nodes{{"01", "人教版"}, {"02", "外研"}}));
    EXPECT_EQ(Pairs(ov::ReadChildren(&connection, layout, "01")), (Nodes{{"0101", "三上"}, {"0102", "三下"}}));
    EXPECT_EQ(Pairs(ov::ReadChildren(&connection, layout, "0101")), (Nodes{{"010101", "U1"}}));
    EXPECT_TRUE(ov::ReadChildren(&connection, layout, "010101").empty());
}

// The lesson opened last is found again from its code alone, or not at all
// once the catalogue no longer leads to it.
TEST(CatalogueLevels, PathToACodeFromTheTop) {
    ovtest::TempDir dir;
    ov::SqliteConnection connection;
    OpenCatalogue(connection, dir);
    const std::pair<const char*, Nodes> cases[] = {
        {"010101", {{"01", "人教版"}, {"0101", "三上"}, {"010101", "U1"}}},
        {"0102", {{"01", "人教版"}, {"0102", "三下"}}},
        {"02", {{"02", "外研"}}},
        {"0103", {}},
        {"01010101", {}},
        {"0", {}},
        {"", {}},
        {"01'--", {}},
    };
    for (const auto& [code, path] : cases)
        EXPECT_EQ(Pairs(ov::ReadPathTo(&connection, ov::MainCatalogueLayout(), code)), path) << code;
}

// A change either lands whole or leaves the file as it was; a failed creation
// leaves no file, and an existing file is never created over.
TEST(DatabaseFiles, ChangesLandWholeOrNotAtAll) {
    ovtest::TempDir dir;
    const auto file = dir / "sub/c.db";
    const auto addEntry = [](const char* code) {
        return [code](ov::SqliteDatabase& db) { ov::AddCatalogueEntry(db, code, "x"); };
    };
    EXPECT_THROW(ov::CreateDatabaseFile(file, "pw",
                                        [&](ov::SqliteDatabase& db) {
                                            ov::CreateCatalogueTable(db);
                                            addEntry("bad code")(db);
                                        }),
                 ov::ESqliteError);
    EXPECT_FALSE(std::filesystem::exists(file));

    ov::CreateDatabaseFile(file, "pw", ov::CreateCatalogueTable);
    EXPECT_THROW(ov::CreateDatabaseFile(file, "pw", ov::CreateCatalogueTable), ov::ESqliteError);
    ov::ChangeDatabaseFile(file, "pw", addEntry("01"));
    EXPECT_THROW(ov::ChangeDatabaseFile(file, "pw",
                                        [&](ov::SqliteDatabase& db) {
                                            addEntry("02")(db);
                                            addEntry("01")(db);
                                        }),
                 ov::ESqliteError);

    ov::SqliteConnection connection;
    connection.SetConnectionString(ov::FormatConnectionString(file.string(), "pw"));
    connection.Open();
    ov::SqliteQuery all(&connection);
    all.SetSql("select * from RsList");
    all.Open();
    EXPECT_EQ(all.RecordCount(), 1);
    EXPECT_EQ(all.FieldByName("RsID"), "01");
}

}  // namespace
