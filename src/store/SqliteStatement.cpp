#include "store/SqliteStatement.h"

#include <sqlite3.h>

#include <utility>

#include "store/SqliteDatabase.h"

namespace ov {

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), statement_(std::exchange(other.statement_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = other.db_;
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

int SqliteStatement::Index(std::string_view name) const {
    return sqlite3_bind_parameter_index(statement_, std::string(name).c_str());
}

void SqliteStatement::Bind(std::string_view name, std::string_view text) {
    if (int index = Index(name); index > 0) Bind(index, text);
}

void SqliteStatement::Bind(int position, std::string_view text) {
    if (sqlite3_bind_text64(statement_, position, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) !=
        SQLITE_OK)
        ThrowSqliteError(db_, "binding a parameter");
}

void SqliteStatement::Bind(std::string_view name, int64_t number) {
    int index = Index(name);
    if (index > 0 && sqlite3_bind_int64(statement_, index, number) != SQLITE_OK)
        ThrowSqliteError(db_, "binding a parameter");
}

bool SqliteStatement::Step() {
    int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    ThrowSqliteError(db_, "running a query");
}

int SqliteStatement::ColumnCount() const { return sqlite3_column_count(statement_); }

std::string SqliteStatement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(statement_, column);
    return name ? name : "";
}

std::string_view SqliteStatement::ColumnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (!text) return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes(statement_, column))};
}

}  // namespace ov
