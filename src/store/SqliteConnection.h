#pragma once

#include <optional>
#include <string>

#include "store/SqliteDatabase.h"

namespace ov {

// A connection named by a connection text (see ConnectionString.h), opened
// read-only: the player never writes a database. Queries made on it notice
// when it is closed or re-opened.
class SqliteConnection {
public:
    void SetConnectionString(std::string text) { connectionString_ = std::move(text); }
    const std::string& ConnectionString() const { return connectionString_; }

    // Throws ESqliteError and stays closed when the database cannot be opened.
    void Open();
    // Takes a database opened elsewhere (a catalogue put together in memory)
    // as if Open had opened it.
    void Adopt(SqliteDatabase db);
    void Close();
    bool Connected() const { return db_.has_value(); }
    // Throws ESqliteError when the connection is closed.
    SqliteDatabase& Database();
    // Changes whenever the connection closes or opens.
    unsigned Generation() const { return generation_; }

private:
    std::string connectionString_;
    std::optional<SqliteDatabase> db_;
    unsigned generation_ = 0;
};

}  // namespace ov
