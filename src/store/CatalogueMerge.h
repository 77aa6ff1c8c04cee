#pragma once

#include <vector>

#include "store/CatalogueLevels.h"
#include "store/SqliteDatabase.h"

namespace ov {

// Every entry of a catalogue database, in code order. Throws ESqliteError
// when it has no catalogue table.
std::vector<CatalogueNode> ReadCatalogueEntries(SqliteDatabase& db);

// Several catalogues, highest precedence first, as one. A top-level entry
// and everything under it come from the first catalogue holding that
// top-level code: a pupil's own copy of a book hides the shared one whole,
// and two books that happen to share a code are never mixed into one branch.
std::vector<CatalogueNode> MergeCatalogues(const std::vector<std::vector<CatalogueNode>>& catalogues);

// A catalogue database in memory holding `entries`, for the tree to read.
SqliteDatabase CatalogueInMemory(const std::vector<CatalogueNode>& entries);

}  // namespace ov
