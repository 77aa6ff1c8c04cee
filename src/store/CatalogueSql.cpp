#include "store/CatalogueSql.h"

#include <vector>

#include "store/SingleQuoted.h"
#include "store/SqliteDatabase.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

std::vector<int> ParseLevels(std::string_view levels) {
    std::vector<int> widths;
    if (levels.empty()) return widths;
    for (size_t start = 0;;) {
        size_t comma = std::min(levels.find(',', start), levels.size());
        std::string_view piece = levels.substr(start, comma - start);
        widths.push_back(StrToInt(piece));
        if (comma == levels.size()) return widths;
        start = comma + 1;
    }
}

std::string Text(std::string_view piece) { return std::string(piece); }

}  // namespace

std::string NextLevelPattern(std::string_view code, std::string_view levels) {
    const std::vector<int> widths = ParseLevels(levels);
    int64_t remainder = Utf8Length(code);
    size_t k = 0;
    while (remainder > 0 && k < widths.size()) remainder -= widths[k++];
    const size_t fill = k < widths.size() ? static_cast<size_t>(std::max(widths[k], 0)) : 1;
    return std::string(code) + std::string(fill, '_');
}

std::string OneLevelSql(std::string_view table, std::string_view codeField) {
    return "SELECT *  FROM " + Text(table) + " WHERE " + Text(codeField) + " Like :Cd " + "   AND len(" +
           Text(codeField) + ")=:len" + " ORDER BY " + Text(codeField);
}

std::string AllLevelsSql(std::string_view table, std::string_view codeField, std::string_view code) {
    const std::string pattern = SingleQuoted(std::string(code).append("%"));
    return "SELECT *  FROM " + Text(table) + " where " + Text(codeField) + " like " + pattern + " ORDER BY " +
           Text(codeField);
}

std::string ChildrenSql(std::string_view table, std::string_view codeField, std::string_view code) {
    const std::string pattern = SingleQuoted(std::string(code).append("__"));
    return "SELECT * FROM " + Text(table) + " WHERE " + Text(codeField) + " Like " + pattern + " ORDER BY " +
           Text(codeField);
}

std::string RecordsEqualSql(std::string_view table, std::string_view field, std::string_view value) {
    return "select * from " + Text(table) + " where " + Text(field) + " = " + SingleQuoted(value);
}

std::string ChildTestSql(std::string_view table, std::string_view codeField, std::string_view code) {
    const std::string pattern = SingleQuoted(std::string(code).append("_%"));
    return "select * from " + Text(table) + " where " + Text(codeField) + " like " + pattern;
}

}  // namespace ov
