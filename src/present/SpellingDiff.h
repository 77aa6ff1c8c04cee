#pragma once

#include <string>
#include <vector>

namespace ov {

// How one letter of a typed answer stands against the expected answer.
enum class LetterFit { Right, Wrong, Missing, Extra };

// One step of the alignment: the pupil's letter (Right, Wrong, Extra) or the
// answer's letter the pupil left out (Missing).
struct TMarkedLetter {
    LetterFit Fit = LetterFit::Right;
    char32_t Letter = 0;
    bool operator==(const TMarkedLetter&) const = default;
};

// The fewest single-letter changes that turn `typed` into `answer`, letter by
// letter in reading order. ASCII letters match whatever their case, as the
// answer check compares them. Where two scripts are equally short, a letter
// for a letter (right or wrong) wins over an extra letter, and that over a
// missing one, deciding from the start of the words.
// Texts too long to align within a bounded table (hundreds of letters each)
// get the plain script: every typed letter extra, every answer letter missing.
std::vector<TMarkedLetter> SpellingDiff(const std::u32string& typed, const std::u32string& answer);

}  // namespace ov
