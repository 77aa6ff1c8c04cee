#include "speech/SpokenText.h"

#include "speech/NumberWords.h"

namespace ov {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsOrdinalSuffix(const std::string& s) { return s == "st" || s == "nd" || s == "rd" || s == "th"; }

// Runs of letters (with inner apostrophes, "don't") and runs of digits.
std::vector<std::string> Runs(const std::string& shown) {
    std::vector<std::string> runs;
    std::string run;
    auto flush = [&] {
        if (!run.empty()) runs.push_back(std::move(run));
        run.clear();
    };
    for (size_t i = 0; i < shown.size(); ++i) {
        const char c = shown[i];
        const bool inLetters = !run.empty() && IsLetter(run.back());
        if (IsLetter(c)) {
            if (!run.empty() && IsDigit(run.back())) flush();
            run += Lower(c);
        } else if (IsDigit(c)) {
            if (!run.empty() && !IsDigit(run.back())) flush();
            run += c;
        } else if (c == '\'' && inLetters && i + 1 < shown.size() && IsLetter(shown[i + 1])) {
            run += c;
        } else {
            flush();
        }
    }
    flush();
    return runs;
}

}  // namespace

std::vector<std::string> SplitAtSpaces(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::vector<std::string> SpokenParts(const std::string& shown) {
    const std::vector<std::string> runs = Runs(shown);
    std::vector<std::string> parts;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (!IsDigit(runs[i][0])) {
            parts.push_back(runs[i]);
            continue;
        }
        std::vector<std::string> number = NumberWords(runs[i]);
        // "3rd" is read "third", not "three r d".
        if (i + 1 < runs.size() && IsOrdinalSuffix(runs[i + 1])) {
            number.back() = OrdinalOf(number.back());
            ++i;
        }
        parts.insert(parts.end(), number.begin(), number.end());
    }
    return parts;
}

std::vector<TextWord> SpokenWords(const std::vector<std::string>& shown) {
    std::vector<TextWord> words;
    for (const std::string& s : shown) {
        std::vector<std::string> parts = SpokenParts(s);
        if (!parts.empty()) words.push_back({s, std::move(parts)});
    }
    return words;
}

}  // namespace ov
