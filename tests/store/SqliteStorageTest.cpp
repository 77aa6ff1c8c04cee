#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "store/SqliteStatement.h"
#include "store/CipherAndFiles.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

using ov::SqliteAccess;
using ov::SqliteDatabase;

std::string FirstText(SqliteDatabase& db, const std::string& sql) {
    auto statement = db.Prepare(sql);
    EXPECT_TRUE(statement.Step()) << sql;
    return std::string(statement.ColumnText(0));
}

TEST(SqliteDatabase, LenCountsCharactersNotBytes) {
    auto db = SqliteDatabase::OpenImage({}, SqliteAccess::ReadWrite);
    const std::pair<const char*, const char*> cases[] = {
        {"len('0101')", "4"}, {"len('')", "0"}, {"len('三年级上册')", "5"},
        {"len('a€😀')", "3"}, {"len(NULL) IS NULL", "1"}, {"len(1234)", "4"},
    };
    for (const auto& [expression, expected] : cases)
        EXPECT_EQ(FirstText(db, std::string("SELECT ") + expression), expected) << expression;
}

// The catalogue's level query binds :len as a number; bound as text the
// comparison with len() silently matches nothing.
TEST(SqliteDatabase, NamedParametersBindTextAndNumbers) {
    auto db = SqliteDatabase::OpenImage({}, SqliteAccess::ReadWrite);
    ov::CreateCatalogueTable(db);
    for (const char* code : {"01", "0101", "02"}) ov::AddCatalogueEntry(db, code, "x");
    const char* sql = "SELECT count(*) FROM RsList WHERE RsID Like :Cd AND len(RsID)=:len";

    auto asNumber = db.Prepare(sql);
    asNumber.Bind(":Cd", std::string_view("__"));
    asNumber.Bind(":len", int64_t{2});
    asNumber.Bind(":unused", int64_t{9});
    ASSERT_TRUE(asNumber.Step());
    EXPECT_EQ(asNumber.ColumnText(0), "2");

    auto asText = db.Prepare(sql);
    asText.Bind(":Cd", std::string_view("__"));
    asText.Bind(":len", std::string_view("2"));
    ASSERT_TRUE(asText.Step());
    EXPECT_EQ(asText.ColumnText(0), "0");
}

TEST(SqliteDatabase, StatementErrorsThrow) {
    auto db = SqliteDatabase::OpenImage({}, SqliteAccess::ReadWrite);
    EXPECT_THROW(db.Prepare("SELECT * FROM missing"), ov::ESqliteError);
    EXPECT_THROW(db.Exec("nonsense"), ov::ESqliteError);
    ov::CreateCatalogueTable(db);
    ov::AddCatalogueEntry(db, "01", "a");
    EXPECT_THROW(ov::AddCatalogueEntry(db, "01", "b"), ov::ESqliteError);
    for (const char* bad : {"", "0_", "01%", "0'1"})
        EXPECT_THROW(ov::AddCatalogueEntry(db, bad, "x"), ov::ESqliteError) << bad;
}

int CountRows(SqliteDatabase& db) { return std::stoi(FirstText(db, "SELECT count(*) FROM RsList")); }

TEST(StoredDatabase, PlainAndContainerRoundTrip) {
    ovtest::TempDir dir;
    const ovtest::Entries entries = {{"01", "人教版"}, {"0101", "三年级上册"}};
    ovtest::WriteCatalogue(dir / "plain.db", entries);
    ovtest::WriteCatalogue(dir / "sealed.db", entries, "Lx7#Qe2@Vr");

    EXPECT_TRUE(ov::IsPlainDatabaseFile(dir / "plain.db"));
    EXPECT_FALSE(ov::IsPlainDatabaseFile(dir / "sealed.db"));
    // The container shows nothing of its content on disk.
    EXPECT_EQ(ovtest::ReadFile(dir / "sealed.db").find("RsList"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "sealed.db.plain~"));

    // A plain file opens with or without a password.
    for (const char* password : {"", "any"}) {
        auto db = ov::OpenStoredDatabase(dir / "plain.db", password, SqliteAccess::ReadOnly);
        EXPECT_EQ(CountRows(db), 2);
    }
    auto sealed = ov::OpenStoredDatabase(dir / "sealed.db", "Lx7#Qe2@Vr", SqliteAccess::ReadOnly);
    EXPECT_EQ(FirstText(sealed, "SELECT RsName FROM RsList WHERE RsID='0101'"), "三年级上册");
    EXPECT_THROW(sealed.Exec("DELETE FROM RsList"), ov::ESqliteError);
}

TEST(StoredDatabase, ContainerOpenedForWritingIsSavedBack) {
    ovtest::TempDir dir;
    ovtest::WriteCatalogue(dir / "sealed.db", {{"01", "a"}}, "pw");
    {
        auto db = ov::OpenStoredDatabase(dir / "sealed.db", "pw", SqliteAccess::ReadWrite);
        ov::AddCatalogueEntry(db, "02", "b");
        ov::SaveDatabase(db, dir / "sealed.db", "pw");
    }
    auto db = ov::OpenStoredDatabase(dir / "sealed.db", "pw", SqliteAccess::ReadOnly);
    EXPECT_EQ(CountRows(db), 2);
}

// Whatever is wrong with the file, opening it throws the one database error.
TEST(StoredDatabase, BadFilesFailWithADatabaseError) {
    ovtest::TempDir dir;
    ovtest::WriteCatalogue(dir / "sealed.db", {{"01", "a"}}, "right");
    ovtest::WriteFile(dir / "garbage.db", std::string(4096, 'x'));
    ovtest::WriteFile(dir / "short.db", "SQLite");
    ovtest::WriteFile(dir / "header-only.db", std::string("SQLite format 3\0", 16) + std::string(200, '\xff'));
    const std::string sealed = ovtest::ReadFile(dir / "sealed.db");
    ovtest::WriteFile(dir / "cut.db", sealed.substr(0, sealed.size() - 5));
    ovtest::WriteFile(dir / "tiny.db", sealed.substr(0, 8));
    std::filesystem::create_directory(dir / "folder.db");

    const std::pair<const char*, const char*> cases[] = {
        {"missing.db", ""},  {"missing.db", "pw"},    {"garbage.db", ""},   {"garbage.db", "pw"},
        {"short.db", "pw"},  {"header-only.db", ""},  {"sealed.db", ""},    {"sealed.db", "wrong"},
        {"cut.db", "right"}, {"tiny.db", "right"},    {"folder.db", "pw"},  {"folder.db", ""},
    };
    for (const auto& [name, password] : cases)
        EXPECT_THROW(ov::OpenStoredDatabase(dir / name, password, SqliteAccess::ReadOnly), ov::ESqliteError)
            << name << " with password \"" << password << "\"";
}

// A sparse file takes no disk but would be read and decrypted whole.
TEST(StoredDatabase, HugeContainerIsRefusedBeforeReading) {
    ovtest::TempDir dir;
    ovtest::WriteCatalogue(dir / "huge.db", {{"01", "a"}}, "right");
    std::filesystem::resize_file(dir / "huge.db", std::uintmax_t{1} << 30);
    try {
        ov::OpenStoredDatabase(dir / "huge.db", "right", SqliteAccess::ReadOnly);
        ADD_FAILURE() << "opened";
    } catch (const ov::ESqliteError& e) {
        EXPECT_THAT(e.what(), ::testing::EndsWith("larger than 256 MiB"));
    }
}

TEST(StoredDatabase, LockedFileFailsInsteadOfHanging) {
    ovtest::TempDir dir;
    ovtest::WriteCatalogue(dir / "plain.db", {{"01", "a"}});
    auto writer = SqliteDatabase::OpenFile(dir / "plain.db", SqliteAccess::ReadWrite);
    writer.Exec("BEGIN EXCLUSIVE");
    EXPECT_THROW(ov::OpenStoredDatabase(dir / "plain.db", "", SqliteAccess::ReadOnly), ov::ESqliteError);
    writer.Exec("COMMIT");
    EXPECT_NO_THROW(ov::OpenStoredDatabase(dir / "plain.db", "", SqliteAccess::ReadOnly));
}

}  // namespace
