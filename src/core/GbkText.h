#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ov {

// Courseware text (lesson XML, package member names, deciphered strings,
// database text) is GBK. It is decoded as GB18030, a superset, because files
// that declare GB2312 very often hold GBK-only characters. Undecodable bytes
// become U+FFFD so that a damaged name still shows.
std::string GbkToUtf8(std::string_view gbk);

// Encodes UTF-8 text as GBK; nothing when the text holds a character GBK lacks
// or is not valid UTF-8.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

}  // namespace ov
