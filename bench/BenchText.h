#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

// The size of a large lesson page: what the page read and page build benches
// both measure against.
constexpr int kPageWords = 500;
constexpr int kPageSentences = 40;
constexpr int kPagePictures = 60;

// One XML attribute, with its leading blank, for the generated lesson pages.
inline std::string Attr(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + value + "\"";
}
inline std::string Attr(const char* name, int value) { return Attr(name, std::to_string(value)); }

inline double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace bench
