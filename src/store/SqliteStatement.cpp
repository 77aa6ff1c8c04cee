#include "store/SqliteStatement.h"

#include <sqlite3.h>

#include <utility>

#include "core/Clock.h"
#include "store/SqliteDatabase.h"

namespace ov {
namespace {

// A database brought by a lesson may define its tables as views that never end
// (a recursive query) or grind for ages; the window waits for every query, so
// a statement gets this long before it is interrupted.
constexpr int64_t kStatementTimeLimitMs = 2000;
// Virtual machine steps between looks at the clock.
constexpr int kProgressPeriod = 1000;

int PastDeadline(void* deadlineMs) { return TickCountMs() > *static_cast<const int64_t*>(deadlineMs) ? 1 : 0; }

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, sqlite3_stmt* statement)
    : db_(db), statement_(statement), deadlineMs_(TickCountMs() + kStatementTimeLimitMs) {}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), statement_(std::exchange(other.statement_, nullptr)), deadlineMs_(other.deadlineMs_) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = other.db_;
        statement_ = std::exchange(other.statement_, nullptr);
        deadlineMs_ = other.deadlineMs_;
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

void SqliteStatement::Bind(std::string_view name, double number) {
    int index = Index(name);
    if (index > 0 && sqlite3_bind_double(statement_, index, number) != SQLITE_OK)
        ThrowSqliteError(db_, "binding a parameter");
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    deadlineMs_ = TickCountMs() + kStatementTimeLimitMs;
}

bool SqliteStatement::Step() {
    // The handler points into this object, so it is only in place while it steps.
    sqlite3_progress_handler(db_, kProgressPeriod, PastDeadline, &deadlineMs_);
    int rc = sqlite3_step(statement_);
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
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

int64_t SqliteStatement::ColumnInt(int column) const { return sqlite3_column_int64(statement_, column); }

double SqliteStatement::ColumnDouble(int column) const { return sqlite3_column_double(statement_, column); }

bool SqliteStatement::ColumnIsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

}  // namespace ov
