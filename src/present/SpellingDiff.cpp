#include "present/SpellingDiff.h"

#include <algorithm>
#include <cstdint>

namespace ov {
namespace {

// About 4 MB of table: a sentence of a few hundred letters each way. The edit
// takes 32767 letters and a page may say anything, which would take gigabytes.
constexpr std::size_t kMaxCells = std::size_t{1} << 20;

char32_t AsciiUpper(char32_t c) { return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c; }

bool SameLetter(char32_t a, char32_t b) { return AsciiUpper(a) == AsciiUpper(b); }

std::vector<TMarkedLetter> PlainScript(const std::u32string& typed, const std::u32string& answer) {
    std::vector<TMarkedLetter> script;
    for (char32_t c : typed) script.push_back({LetterFit::Extra, c});
    for (char32_t c : answer) script.push_back({LetterFit::Missing, c});
    return script;
}

}  // namespace

std::vector<TMarkedLetter> SpellingDiff(const std::u32string& typed, const std::u32string& answer) {
    const std::size_t n = typed.size();
    const std::size_t m = answer.size();
    const std::size_t columns = m + 1;
    if (n + 1 > kMaxCells / columns) return PlainScript(typed, answer);

    // cost(i, j): changes between the typed letters from i on and the answer's from j on.
    std::vector<uint32_t> table((n + 1) * columns);
    const auto cost = [&](std::size_t i, std::size_t j) -> uint32_t& { return table[i * columns + j]; };
    for (std::size_t i = 0; i <= n; ++i) cost(i, m) = static_cast<uint32_t>(n - i);
    for (std::size_t j = 0; j <= m; ++j) cost(n, j) = static_cast<uint32_t>(m - j);
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            const uint32_t diagonal = cost(i + 1, j + 1) + (SameLetter(typed[i], answer[j]) ? 0 : 1);
            cost(i, j) = std::min({diagonal, cost(i + 1, j) + 1, cost(i, j + 1) + 1});
        }
    }

    // Walked from the start, so a pupil reading left to right meets each
    // difference where it begins.
    std::vector<TMarkedLetter> script;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m) {
            const bool same = SameLetter(typed[i], answer[j]);
            if (cost(i, j) == cost(i + 1, j + 1) + (same ? 0 : 1)) {
                script.push_back({same ? LetterFit::Right : LetterFit::Wrong, typed[i]});
                ++i;
                ++j;
                continue;
            }
        }
        if (i < n && cost(i, j) == cost(i + 1, j) + 1)
            script.push_back({LetterFit::Extra, typed[i++]});
        else
            script.push_back({LetterFit::Missing, answer[j++]});
    }
    return script;
}

}  // namespace ov
