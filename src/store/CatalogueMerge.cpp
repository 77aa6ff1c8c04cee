#include "store/CatalogueMerge.h"

#include <set>
#include <string>

#include "core/Log.h"
#include "store/CatalogueSql.h"
#include "store/SqliteAuthoring.h"
#include "store/SqliteStatement.h"

namespace ov {
namespace {

// The width of the first level of kCatalogueLevels.
std::string_view TopLevelCode(std::string_view code) {
    const std::string_view levels = kCatalogueLevels;
    const size_t width = std::stoul(std::string(levels.substr(0, levels.find(','))));
    return code.substr(0, width);
}

}  // namespace

std::vector<CatalogueNode> ReadCatalogueEntries(SqliteDatabase& db) {
    SqliteStatement select =
        db.Prepare("SELECT " + std::string(kCatalogueCodeField) + ", " + std::string(kCatalogueNameField) + " FROM " +
                   std::string(kCatalogueTable) + " ORDER BY " + std::string(kCatalogueCodeField));
    std::vector<CatalogueNode> entries;
    while (select.Step()) entries.push_back({std::string(select.ColumnText(0)), std::string(select.ColumnText(1))});
    return entries;
}

std::vector<CatalogueNode> MergeCatalogues(const std::vector<std::vector<CatalogueNode>>& catalogues) {
    std::vector<CatalogueNode> merged;
    std::set<std::string, std::less<>> taken;
    for (const auto& catalogue : catalogues) {
        std::set<std::string, std::less<>> mine;
        for (const auto& entry : catalogue) {
            const std::string_view top = TopLevelCode(entry.code);
            if (taken.contains(top)) continue;
            mine.emplace(top);
            merged.push_back(entry);
        }
        taken.merge(mine);
    }
    return merged;
}

SqliteDatabase CatalogueInMemory(const std::vector<CatalogueNode>& entries) {
    auto db = SqliteDatabase::OpenImage({}, SqliteAccess::ReadWrite);
    db.Exec("BEGIN");
    CreateCatalogueTable(db);
    for (const auto& entry : entries) {
        // One odd entry of one catalogue must not cost the pupil the whole tree.
        try {
            AddCatalogueEntry(db, entry.code, entry.name);
        } catch (const ESqliteError& e) {
            Log(LogLevel::Warning, "store", std::string("catalogue entry left out: ") + e.what());
        }
    }
    db.Exec("COMMIT");
    return db;
}

}  // namespace ov
