#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;

namespace ov {

class SqliteStatement;

// Any failure of a database: it cannot be opened, is not a database, is locked,
// or a statement failed. Callers catch this one type.
class ESqliteError : public std::runtime_error {
public:
    explicit ESqliteError(const std::string& what, int code = 0) : std::runtime_error(what), code_(code) {}
    // SQLite's primary result code, 0 when the failure is none of SQLite's.
    int Code() const { return code_; }

private:
    int code_;
};

enum class SqliteAccess { ReadOnly, ReadWrite, Create };

// One SQLite connection, closed with the object. Every connection knows the SQL
// function `len` (length in characters), which the catalogue queries use.
class SqliteDatabase {
public:
    // Opens a database file. The schema is read at once, so a file that is no
    // database, or is locked, fails here rather than at the first query.
    static SqliteDatabase OpenFile(const std::filesystem::path& file, SqliteAccess access);
    // A database held in memory: `image` is a whole database file (empty for a
    // new, empty database). Throws when the bytes are not a database.
    static SqliteDatabase OpenImage(std::string_view image, SqliteAccess access);

    SqliteDatabase(SqliteDatabase&& other) noexcept;
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    ~SqliteDatabase();

    // Runs statements that return no rows.
    void Exec(const std::string& sql);
    SqliteStatement Prepare(std::string_view sql);
    // The whole database as the bytes of a database file.
    std::string Serialize();
    bool IsImage() const { return image_; }
    // The row id the last INSERT on this connection gave.
    int64_t LastInsertId() const;
    // How long a statement waits for another connection's lock before it fails.
    void SetBusyTimeout(int ms);

private:
    SqliteDatabase(sqlite3* handle, bool image);
    void Configure();

    sqlite3* handle_ = nullptr;
    bool image_ = false;
};

// Characters in UTF-8 text (code points), as the SQL function `len` counts.
int64_t Utf8Length(std::string_view text);

// The error text of a connection, with what was being done.
[[noreturn]] void ThrowSqliteError(sqlite3* handle, const std::string& doing);

}  // namespace ov
