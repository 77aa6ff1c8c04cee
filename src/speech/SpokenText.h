#pragma once

#include <string>
#include <vector>

namespace ov {

// A word as the page shows it, and the dictionary words it is read as
// ("Good," is "good"; "ice-cream" is "ice" "cream"; "25" is "twenty" "five").
struct TextWord {
    std::string shown;
    std::vector<std::string> spoken;
    friend bool operator==(const TextWord&, const TextWord&) = default;
};

// The text's words between white space.
std::vector<std::string> SplitAtSpaces(const std::string& text);

// What one shown word is read as: lower-case ASCII words, numbers spelt out.
// Punctuation, case and anything not English (Chinese characters) are
// ignored, so a word of only those says nothing.
std::vector<std::string> SpokenParts(const std::string& shown);

// The shown words that say something, in order.
std::vector<TextWord> SpokenWords(const std::vector<std::string>& shown);

}  // namespace ov
