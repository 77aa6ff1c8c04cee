#pragma once

#include <string>
#include <string_view>

namespace ov {

// How the main window's catalogue is laid out: table, code and name fields,
// and seven levels that each add two characters to the parent's code.
inline constexpr std::string_view kCatalogueTable = "RsList";
inline constexpr std::string_view kCatalogueCodeField = "RsID";
inline constexpr std::string_view kCatalogueNameField = "RsName";
inline constexpr std::string_view kCatalogueLevels = "2,2,2,2,2,2,2";

// The code followed by as many "_" as the width of the level below it
// (`levels`: comma-separated widths from the top); a single "_" below the
// last level. Throws EConvertError for a width that is not a decimal integer.
std::string NextLevelPattern(std::string_view code, std::string_view levels);

// The SQL texts of the catalogue tree, spaced exactly as the tree has always
// sent them. Values are placed in quotes with their own quotes doubled.
// One level, parameters :Cd (pattern, text) and :len (its length, a number).
std::string OneLevelSql(std::string_view table, std::string_view codeField);
// The records one level (two characters) below `code`.
std::string ChildrenSql(std::string_view table, std::string_view codeField, std::string_view code);
// Any record below `code`, at any depth.
std::string ChildTestSql(std::string_view table, std::string_view codeField, std::string_view code);

}  // namespace ov
