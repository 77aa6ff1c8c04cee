#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/SqliteQuery.h"

namespace ov {

// Which table a catalogue tree reads, and how its codes grow from level to
// level (comma-separated widths from the top).
struct CatalogueLayout {
    std::string table;
    std::string codeField;
    std::string nameField;
    std::string levels;
};

// The main window's catalogue.
CatalogueLayout MainCatalogueLayout();

struct CatalogueNode {
    std::string code;
    std::string name;
};

// Loading a catalogue level by level, as the tree does: its first load opens
// the master data set on the level below its working code (the top level for
// an empty code), each click reads the level below the clicked node. Both
// throw ESqliteError when the catalogue cannot be queried; the first also
// EConvertError for a level width that is not a number.
void OpenLevel(SqliteQuery& query, const CatalogueLayout& layout, std::string_view code);
// The records the query has from its cursor on, which it leaves at the end.
std::vector<CatalogueNode> ReadNodes(SqliteQuery& query, const CatalogueLayout& layout);
// The level below `code`, read through a data set of its own on `connection`.
std::vector<CatalogueNode> ReadChildren(SqliteConnection* connection, const CatalogueLayout& layout,
                                        std::string_view code);
// The nodes from the top level down to the one with `code`, found level by
// level as a pupil would click down to it; empty when it cannot be reached.
std::vector<CatalogueNode> ReadPathTo(SqliteConnection* connection, const CatalogueLayout& layout,
                                      std::string_view code);

}  // namespace ov
