#pragma once

#include <string>
#include <string_view>

namespace ov {

// `value` in single quotes with its own quotes doubled, the one quoting that
// SQL texts and connection texts share: a quote of its own would otherwise end
// the text early and let the rest run as SQL or as another key.
std::string SingleQuoted(std::string_view value);

}  // namespace ov
