#pragma once

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

}  // namespace ov
