#include "store/CatalogueLevels.h"

#include "store/CatalogueSql.h"
#include "store/SqliteDatabase.h"

#include <algorithm>

namespace ov {

CatalogueLayout MainCatalogueLayout() {
    return {std::string(kCatalogueTable), std::string(kCatalogueCodeField), std::string(kCatalogueNameField),
            std::string(kCatalogueLevels)};
}

void OpenLevel(SqliteQuery& query, const CatalogueLayout& layout, std::string_view code) {
    query.SetSql(OneLevelSql(layout.table, layout.codeField));
    const std::string pattern = NextLevelPattern(code, layout.levels);
    query.SetParameter("Cd", pattern);
    query.SetParameter("len", Utf8Length(pattern));
    query.Open();
}

std::vector<CatalogueNode> ReadNodes(SqliteQuery& query, const CatalogueLayout& layout) {
    std::vector<CatalogueNode> nodes;
    for (; !query.Eof(); query.Next())
        nodes.push_back({query.FieldByName(layout.codeField), query.FieldByName(layout.nameField)});
    return nodes;
}

std::vector<CatalogueNode> ReadChildren(SqliteConnection* connection, const CatalogueLayout& layout,
                                        std::string_view code) {
    SqliteQuery children(connection);
    children.SetSql(ChildrenSql(layout.table, layout.codeField, code));
    children.Open();
    return ReadNodes(children, layout);
}

std::vector<CatalogueNode> ReadPathTo(SqliteConnection* connection, const CatalogueLayout& layout,
                                      std::string_view code) {
    SqliteQuery top(connection);
    OpenLevel(top, layout, "");
    std::vector<CatalogueNode> level = ReadNodes(top, layout), path;
    // Every level's codes are longer than the one above, so the walk ends
    // within the length of `code`.
    for (;;) {
        const auto on = std::find_if(level.begin(), level.end(),
                                     [&](const CatalogueNode& node) { return code.substr(0, node.code.size()) == node.code; });
        if (on == level.end()) return {};
        path.push_back(*on);
        if (on->code == code) return path;
        level = ReadChildren(connection, layout, on->code);
    }
}

}  // namespace ov
