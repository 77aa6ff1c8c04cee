#include "speech/NumberWords.h"

#include <array>
#include <cstdint>

namespace ov {
namespace {

constexpr std::array<const char*, 20> kUnits = {
    "zero",    "one",     "two",       "three",    "four",     "five",    "six",
    "seven",   "eight",   "nine",      "ten",      "eleven",   "twelve",  "thirteen",
    "fourteen", "fifteen", "sixteen",  "seventeen", "eighteen", "nineteen"};
constexpr std::array<const char*, 10> kTens = {"",      "",      "twenty",  "thirty", "forty",
                                               "fifty", "sixty", "seventy", "eighty", "ninety"};

// 1-999.
void SayHundreds(unsigned n, std::vector<std::string>& out) {
    if (n >= 100) {
        out.emplace_back(kUnits[n / 100]);
        out.emplace_back("hundred");
        n %= 100;
    }
    if (n >= 20) {
        out.emplace_back(kTens[n / 10]);
        n %= 10;
        if (n) out.emplace_back(kUnits[n]);
    } else if (n) {
        out.emplace_back(kUnits[n]);
    }
}

}  // namespace

std::vector<std::string> NumberWords(const std::string& digits) {
    std::vector<std::string> out;
    if (digits.empty()) return out;
    if (digits.size() >= 10 || (digits.size() > 1 && digits[0] == '0')) {
        for (char c : digits) out.emplace_back(kUnits[c - '0']);
        return out;
    }
    uint32_t n = 0;
    for (char c : digits) n = n * 10 + static_cast<uint32_t>(c - '0');
    if (n == 0) return {"zero"};
    constexpr std::array<std::pair<uint32_t, const char*>, 2> kGroups = {
        std::pair<uint32_t, const char*>{1000000, "million"}, {1000, "thousand"}};
    for (const auto& [size, name] : kGroups) {
        if (n >= size) {
            SayHundreds(n / size, out);
            out.emplace_back(name);
            n %= size;
        }
    }
    SayHundreds(n, out);
    return out;
}

std::string OrdinalOf(const std::string& word) {
    static const std::array<std::pair<const char*, const char*>, 7> kIrregular = {{
        {"one", "first"}, {"two", "second"}, {"three", "third"}, {"five", "fifth"},
        {"eight", "eighth"}, {"nine", "ninth"}, {"twelve", "twelfth"}}};
    for (const auto& [cardinal, ordinal] : kIrregular)
        if (word == cardinal) return ordinal;
    if (!word.empty() && word.back() == 'y') return word.substr(0, word.size() - 1) + "ieth";
    return word + "th";
}

}  // namespace ov
