#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/SqliteConnection.h"

namespace ov {

using SqliteParameter = std::variant<std::string, int64_t>;

// A data set over one SQL text: opening runs the query and keeps its records,
// in the order the query returned them, with a cursor over them. Closing or
// re-opening the connection closes the data set.
class SqliteQuery {
public:
    explicit SqliteQuery(SqliteConnection* connection = nullptr) : connection_(connection) {}

    SqliteConnection* Connection() const { return connection_; }
    // Replaces the SQL text and forgets the parameters of the old one.
    void SetSql(std::string sql);
    const std::string& Sql() const { return sql_; }
    // `name` without its ":"; a text and a number bind differently (a number
    // compared with a text column matches nothing when bound as text).
    void SetParameter(const std::string& name, SqliteParameter value);

    // Runs the SQL text and moves to the first record. Throws ESqliteError
    // (the connection is closed, the query fails) and then stays closed.
    void Open();
    void Close();
    bool Active() const;

    // True once a move went past the last record, and for no records at all.
    // The cursor then still shows the last record.
    bool Eof() const { return !Active() || eof_; }
    void First();
    void Next();
    // Moves forward (or back, for a negative distance), stopping at either end.
    void MoveBy(int distance);
    // The current record counted from 1; 0 when there is none.
    int RecNo() const;
    int RecordCount() const;

    // The current record's value of the field, matched ignoring ASCII case;
    // empty when the data set is closed or has no records. Throws ESqliteError
    // for a field the query does not return.
    const std::string& FieldByName(std::string_view name) const;
    const std::vector<std::string>& FieldNames() const { return fields_; }

private:
    SqliteConnection* connection_;
    std::string sql_;
    std::map<std::string, SqliteParameter> parameters_;
    std::vector<std::string> fields_;
    std::vector<std::vector<std::string>> records_;
    size_t current_ = 0;
    bool eof_ = true;
    bool open_ = false;
    unsigned generation_ = 0;
};

}  // namespace ov
