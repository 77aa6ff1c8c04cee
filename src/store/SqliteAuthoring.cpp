#include "store/SqliteAuthoring.h"

#include <algorithm>

#include "store/CatalogueSql.h"
#include "store/SqliteStatement.h"

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
    db.Exec("CREATE TABLE word (word TEXT, symbol TEXT, Acceptation TEXT, ExpSentence TEXT)");
}

void AddWord(SqliteDatabase& db, std::string_view word, std::string_view symbol, std::string_view acceptation,
             std::string_view expSentence) {
    SqliteStatement insert = db.Prepare("INSERT INTO word VALUES (?, ?, ?, ?)");
    insert.Bind(1, word);
    insert.Bind(2, symbol);
    insert.Bind(3, acceptation);
    insert.Bind(4, expSentence);
    insert.Step();
}

}  // namespace ov
