#include "store/SqliteDatabase.h"

#include <sqlite3.h>

#include <cstring>
#include <utility>

#include "store/SqliteStatement.h"

namespace ov {
namespace {

// Long enough to ride out another program's short write, short enough that the
// window, which blocks while it waits, does not seem to hang.
constexpr int kBusyTimeoutMs = 250;
// Names, codes and example sentences are short; a database that makes a text
// or blob larger than this (randomblob, printf padding in a view) is refused
// before it can take a gigabyte per value.
constexpr int kMaxValueBytes = 1 << 20;

// Length in characters, counting UTF-8 code points, as the catalogue's code
// lengths are compared in characters.
void LenFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto bytes = static_cast<size_t>(sqlite3_value_bytes(argv[0]));
    sqlite3_result_int64(context, Utf8Length({text ? text : "", text ? bytes : 0}));
}

sqlite3* OpenHandle(const char* name, int flags) {
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(name, &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close(handle);
        throw ESqliteError(std::string("Cannot open database \"") + name + "\": " + message, rc & 0xFF);
    }
    return handle;
}

int FileFlags(SqliteAccess access) {
    switch (access) {
    case SqliteAccess::ReadOnly: return SQLITE_OPEN_READONLY;
    case SqliteAccess::ReadWrite: return SQLITE_OPEN_READWRITE;
    case SqliteAccess::Create: break;
    }
    return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
}

}  // namespace

int64_t Utf8Length(std::string_view text) {
    int64_t length = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++length;
    return length;
}

void ThrowSqliteError(sqlite3* handle, const std::string& doing) {
    throw ESqliteError("Database error " + doing + ": " + sqlite3_errmsg(handle), sqlite3_errcode(handle) & 0xFF);
}

SqliteDatabase::SqliteDatabase(sqlite3* handle, bool image) : handle_(handle), image_(image) {}

SqliteDatabase::SqliteDatabase(SqliteDatabase&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), image_(other.image_) {}

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept {
    if (this != &other) {
        sqlite3_close(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        image_ = other.image_;
    }
    return *this;
}

SqliteDatabase::~SqliteDatabase() { sqlite3_close(handle_); }

SqliteDatabase SqliteDatabase::OpenFile(const std::filesystem::path& file, SqliteAccess access) {
    SqliteDatabase db(OpenHandle(file.c_str(), FileFlags(access)), false);
    db.Configure();
    return db;
}

SqliteDatabase SqliteDatabase::OpenImage(std::string_view image, SqliteAccess access) {
    SqliteDatabase db(OpenHandle(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), true);
    if (!image.empty()) {
        auto* buffer = static_cast<unsigned char*>(sqlite3_malloc64(image.size()));
        if (!buffer) throw ESqliteError("Out of memory loading a database");
        std::memcpy(buffer, image.data(), image.size());
        unsigned flags = SQLITE_DESERIALIZE_FREEONCLOSE |
                         (access == SqliteAccess::ReadOnly ? SQLITE_DESERIALIZE_READONLY
                                                           : SQLITE_DESERIALIZE_RESIZEABLE);
        // The buffer belongs to SQLite from here on, even when this fails.
        if (sqlite3_deserialize(db.handle_, "main", buffer, static_cast<sqlite3_int64>(image.size()),
                                static_cast<sqlite3_int64>(image.size()), flags) != SQLITE_OK)
            ThrowSqliteError(db.handle_, "loading a database");
    }
    db.Configure();
    return db;
}

void SqliteDatabase::Configure() {
    sqlite3_extended_result_codes(handle_, 1);
    sqlite3_busy_timeout(handle_, kBusyTimeoutMs);
    sqlite3_limit(handle_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    if (sqlite3_create_function_v2(handle_, "len", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, LenFunction,
                                   nullptr, nullptr, nullptr) != SQLITE_OK)
        ThrowSqliteError(handle_, "registering len");
    if (sqlite3_exec(handle_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const char* file = sqlite3_db_filename(handle_, "main");
        throw ESqliteError(std::string("Cannot open database \"") + (file && *file ? file : "(memory)") +
                               "\": " + sqlite3_errmsg(handle_),
                           sqlite3_errcode(handle_) & 0xFF);
    }
}

void SqliteDatabase::Exec(const std::string& sql) {
    char* message = nullptr;
    if (int rc = sqlite3_exec(handle_, sql.c_str(), nullptr, nullptr, &message); rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(handle_);
        sqlite3_free(message);
        throw ESqliteError("Database error running \"" + sql + "\": " + text, rc & 0xFF);
    }
}

SqliteStatement SqliteDatabase::Prepare(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK)
        ThrowSqliteError(handle_, "preparing \"" + std::string(sql) + "\"");
    return SqliteStatement(handle_, statement);
}

int64_t SqliteDatabase::LastInsertId() const { return sqlite3_last_insert_rowid(handle_); }

void SqliteDatabase::SetBusyTimeout(int ms) { sqlite3_busy_timeout(handle_, ms); }

std::string SqliteDatabase::Serialize() {
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(handle_, "main", &size, 0);
    if (!bytes) {
        // An empty in-memory database serialises to nothing at all.
        if (size == 0) return {};
        ThrowSqliteError(handle_, "saving a database");
    }
    std::string image(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
    sqlite3_free(bytes);
    return image;
}

}  // namespace ov
