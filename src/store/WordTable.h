#pragma once

#include <array>
#include <string_view>

namespace ov {

// A lesson's word database: one table, read by the word drill field by field
// in this order, written by the tools that make courseware.
inline constexpr std::string_view kWordTable = "word";
inline constexpr std::array<std::string_view, 4> kWordFields = {"word", "symbol", "Acceptation", "ExpSentence"};
// How the word drill reads the table, trailing blank included.
inline constexpr std::string_view kWordQuerySql = "select * from word ";

}  // namespace ov
