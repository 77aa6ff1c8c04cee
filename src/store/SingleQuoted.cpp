#include "store/SingleQuoted.h"

namespace ov {

std::string SingleQuoted(std::string_view value) {
    std::string out = "'";
    for (char c : value) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

}  // namespace ov
