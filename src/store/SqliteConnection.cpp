#include "store/SqliteConnection.h"

#include "store/ConnectionString.h"
#include "store/SqliteStorage.h"

namespace ov {

void SqliteConnection::Open() {
    Close();
    const auto parsed = ParseConnectionString(connectionString_);
    db_ = OpenStoredDatabase(parsed.dataSource, parsed.password, SqliteAccess::ReadOnly);
    ++generation_;
}

void SqliteConnection::Adopt(SqliteDatabase db) {
    Close();
    db_ = std::move(db);
    ++generation_;
}

void SqliteConnection::Close() {
    if (!db_) return;
    db_.reset();
    ++generation_;
}

SqliteDatabase& SqliteConnection::Database() {
    if (!db_) throw ESqliteError("Connection is closed");
    return *db_;
}

}  // namespace ov
