#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace ov {

// A prepared statement, finalised with the object. Parameters are bound by
// name with their prefix (":Cd"); names are case-sensitive.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement);
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    // A name the statement does not use is ignored, as the data sets expect.
    void Bind(std::string_view name, std::string_view text);
    void Bind(std::string_view name, int64_t number);
    void Bind(std::string_view name, double number);
    // Binds by position, counted from 1.
    void Bind(int position, std::string_view text);

    // Moves to the next row; false when there is none left. Throws once the
    // statement has run for longer than any sound database needs.
    bool Step();
    int ColumnCount() const;
    std::string ColumnName(int column) const;
    // The column's value as text; NULL reads as empty text.
    std::string_view ColumnText(int column) const;
    // NULL reads as 0.
    int64_t ColumnInt(int column) const;
    double ColumnDouble(int column) const;
    bool ColumnIsNull(int column) const;
    // Ready to run again with new parameters; a statement kept for many runs
    // gets its full time limit each run.
    void Reset();

private:
    int Index(std::string_view name) const;

    sqlite3* db_;
    sqlite3_stmt* statement_;
    int64_t deadlineMs_;
};

}  // namespace ov
