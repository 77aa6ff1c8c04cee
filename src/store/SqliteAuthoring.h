#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "store/SqliteDatabase.h"

namespace ov {

// Tables of the catalogue and of a lesson's word database, for the tools that
// make courseware. The player only reads them.

void CreateCatalogueTable(SqliteDatabase& db);
// Throws ESqliteError when the code is taken or is not letters and digits
// (other characters would act as wildcards or quotes in the tree's queries).
void AddCatalogueEntry(SqliteDatabase& db, std::string_view code, std::string_view name);

void CreateWordTable(SqliteDatabase& db);
// Words come back in the order they were added.
void AddWord(SqliteDatabase& db, std::string_view word, std::string_view symbol, std::string_view acceptation,
             std::string_view expSentence);

// Creates a database at `file` (kept as a container when `password` is not
// empty), lets `fill` add to it in one transaction and saves it. A failure
// leaves no file behind; a file already there is an ESqliteError.
void CreateDatabaseFile(const std::filesystem::path& file, std::string_view password,
                        const std::function<void(SqliteDatabase&)>& fill);
// Opens an existing database for changes, lets `change` run in one
// transaction and saves it; nothing is kept when `change` fails.
void ChangeDatabaseFile(const std::filesystem::path& file, std::string_view password,
                        const std::function<void(SqliteDatabase&)>& change);

}  // namespace ov
