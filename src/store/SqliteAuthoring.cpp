#include "store/SqliteAuthoring.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "store/CatalogueSql.h"
#include "store/SqliteStatement.h"
#include "store/SqliteStorage.h"
#include "store/WordTable.h"

namespace ov {

void CreateCatalogueTable(SqliteDatabase& db) {
    db.Exec("CREATE TABLE " + std::string(kCatalogueTable) + " (" + std::string(kCatalogueCodeField) +
            " TEXT PRIMARY KEY NOT NULL, " + std::string(kCatalogueNameField) + " TEXT NOT NULL)");
}

void AddCatalogueEntry(SqliteDatabase& db, std::string_view code, std::string_view name) {
    const bool lettersAndDigits = std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    if (code.empty() || !lettersAndDigits)
        throw ESqliteError("Catalogue code \"" + std::string(code) + "\" is not letters and digits");
    SqliteStatement insert = db.Prepare("INSERT INTO " + std::string(kCatalogueTable) + " VALUES (?, ?)");
    insert.Bind(1, code);
    insert.Bind(2, name);
    insert.Step();
}

void CreateWordTable(SqliteDatabase& db) {
    std::string columns;
    for (std::string_view field : kWordFields) columns += (columns.empty() ? "" : ", ") + std::string(field) + " TEXT";
    db.Exec("CREATE TABLE " + std::string(kWordTable) + " (" + columns + ")");
}

void AddWord(SqliteDatabase& db, std::string_view word, std::string_view symbol, std::string_view acceptation,
             std::string_view expSentence) {
    const std::array<std::string_view, kWordFields.size()> values = {word, symbol, acceptation, expSentence};
    std::string placeholders;
    for (size_t i = 0; i < values.size(); ++i) placeholders += i == 0 ? "?" : ", ?";
    SqliteStatement insert = db.Prepare("INSERT INTO " + std::string(kWordTable) + " VALUES (" + placeholders + ")");
    for (size_t i = 0; i < values.size(); ++i) insert.Bind(static_cast<int>(i) + 1, values[i]);
    insert.Step();
}

void CreateDatabaseFile(const std::filesystem::path& file, std::string_view password,
                        const std::function<void(SqliteDatabase&)>& fill) {
    if (std::filesystem::exists(file)) throw ESqliteError(file.string() + " already exists");
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    try {
        auto db = CreateStoredDatabase(file, password);
        db.Exec("BEGIN");
        fill(db);
        db.Exec("COMMIT");
        SaveDatabase(db, file, password);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        throw;
    }
}

void ChangeDatabaseFile(const std::filesystem::path& file, std::string_view password,
                        const std::function<void(SqliteDatabase&)>& change) {
    auto db = OpenStoredDatabase(file, password, SqliteAccess::ReadWrite);
    db.Exec("BEGIN");
    change(db);
    db.Exec("COMMIT");
    SaveDatabase(db, file, password);
}

}  // namespace ov
