#include <gtest/gtest.h>

#include "store/ConnectionString.h"
#include "store/SqliteConnection.h"
#include "store/SqliteQuery.h"
#include "support/CatalogueTestDb.h"
#include "support/TestFiles.h"

namespace {

TEST(ConnectionString, ReadsSourceAndPassword) {
    struct Case {
        const char* text;
        const char* source;
        const char* password;
    };
    const Case cases[] = {
        {"Data Source=/p/DB/RsDbList.db;Password='Lx7#Qe2@Vr'", "/p/DB/RsDbList.db", "Lx7#Qe2@Vr"},
        {"data source = /a b/w.db ; PASSWORD = 'x' ", "/a b/w.db", "x"},
        {"Password='semi;colon';Data Source=/w.db", "/w.db", "semi;colon"},
        {"Data Source=/w.db;Password='it''s'", "/w.db", "it's"},
        {"Data Source=\"/quoted;path.db\";Password=\"\"", "/quoted;path.db", ""},
        {"Provider=Old;Data Source=/w.db;User ID=Admin", "/w.db", ""},
        {"Data Source=/w.db;;Password=;", "/w.db", ""},
    };
    for (const auto& c : cases) {
        const auto parsed = ov::ParseConnectionString(c.text);
        EXPECT_EQ(parsed.dataSource, c.source) << c.text;
        EXPECT_EQ(parsed.password, c.password) << c.text;
    }
    for (const char* bad : {"", "Password='x'", "Data Source=", "Data Source=/w.db;Password='open"})
        EXPECT_THROW(ov::ParseConnectionString(bad), ov::ESqliteError) << bad;
}

TEST(ConnectionString, FormattedTextReadsBackAsItsParts) {
    struct Case {
        const char* source;
        const char* password;
        const char* text;
    };
    const Case cases[] = {
        {"/p/DB/RsDbList.db", "pw", "Data Source=/p/DB/RsDbList.db;Password='pw'"},
        {"/a b/w.db", "it's", "Data Source=/a b/w.db;Password='it''s'"},
        {"/semi;colon/w.db", "", "Data Source='/semi;colon/w.db';Password=''"},
        {" /outer blank ", "a;b\"c", "Data Source=' /outer blank ';Password='a;b\"c'"},
        {"'quoted'", "''", "Data Source='''quoted''';Password=''''''"},
    };
    for (const auto& c : cases) {
        const std::string text = ov::FormatConnectionString(c.source, c.password);
        EXPECT_EQ(text, c.text);
        const auto parsed = ov::ParseConnectionString(text);
        EXPECT_EQ(parsed.dataSource, c.source) << text;
        EXPECT_EQ(parsed.password, c.password) << text;
    }
}

TEST(SqliteConnection, ClosingOrReopeningClosesItsQueries) {
    ovtest::TempDir dir;
    ovtest::WriteCatalogue(dir / "c.db", {{"01", "a"}}, "pw");
    ov::SqliteConnection connection;
    ov::SqliteQuery query(&connection);
    query.SetSql("select * from RsList");
    EXPECT_THROW(query.Open(), ov::ESqliteError);

    connection.SetConnectionString(ov::FormatConnectionString((dir / "c.db").string(), "pw"));
    connection.Open();
    query.Open();
    EXPECT_TRUE(query.Active());
    connection.Open();
    EXPECT_FALSE(query.Active());
    query.Open();
    connection.Close();
    EXPECT_FALSE(query.Active());
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.RecordCount(), 0);
    EXPECT_EQ(query.FieldByName("RsName"), "");

    connection.SetConnectionString("Data Source=" + (dir / "c.db").string() + ";Password='wrong'");
    EXPECT_THROW(connection.Open(), ov::ESqliteError);
    EXPECT_FALSE(connection.Connected());
}

}  // namespace
