#include "present/SpellingDiff.h"

#include <gtest/gtest.h>

#include <QString>

#include <string>

namespace {

// The script in one line: a right letter as itself, a wrong one as {x}, a
// missing one as (x), an extra one as [x].
std::u32string Render(const std::vector<ov::TMarkedLetter>& script) {
    std::u32string text;
    for (const ov::TMarkedLetter& mark : script) {
        switch (mark.Fit) {
            case ov::LetterFit::Right: text += mark.Letter; break;
            case ov::LetterFit::Wrong: text += std::u32string{U'{', mark.Letter, U'}'}; break;
            case ov::LetterFit::Missing: text += std::u32string{U'(', mark.Letter, U')'}; break;
            case ov::LetterFit::Extra: text += std::u32string{U'[', mark.Letter, U']'}; break;
        }
    }
    return text;
}

std::string Utf8(const std::u32string& text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

TEST(SpellingDiff, MarksEachLetterByTheShortestScript) {
    const std::u32string sixty = U"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefgh";
    std::u32string sixtyWrong = sixty;
    sixtyWrong[30] = U'x';
    struct Case {
        const char* what;
        std::u32string typed, answer, script;
    };
    const Case cases[] = {
        {"equal", U"elephant", U"elephant", U"elephant"},
        {"case only", U"ELEPHant", U"elephant", U"ELEPHant"},
        {"substitution", U"cut", U"cat", U"c{u}t"},
        {"letter left out", U"helo", U"hello", U"hel(l)o"},
        {"letter too many", U"appple", U"apple", U"app[p]le"},
        {"substitution and letter left out", U"elefant", U"elephant", U"ele{f}(h)ant"},
        {"transposition", U"freind", U"friend", U"fr{e}{i}nd"},
        {"transposition at the end", U"ab", U"ba", U"{a}{b}"},
        {"nothing typed", U"", U"cat", U"(c)(a)(t)"},
        {"no answer", U"cat", U"", U"[c][a][t]"},
        {"both empty", U"", U"", U""},
        {"Chinese", U"大像", U"大象", U"大{像}"},
        {"Chinese left out", U"你好", U"你们好", U"你(们)好"},
        {"blanks count as letters", U"thank  you", U"thank you", U"thank [ ]you"},
        {"sixty letters, one wrong", sixtyWrong, sixty, sixty.substr(0, 30) + U"{x}" + sixty.substr(31)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8(Render(ov::SpellingDiff(c.typed, c.answer))), Utf8(c.script)) << c.what;
}

// A hostile page's answer or a pasted book must not take the memory of a
// table of every letter against every letter.
TEST(SpellingDiff, TextsTooLongToAlignAreShownAllExtraAndAllMissing) {
    const std::u32string typed(5000, U'a');
    const std::u32string answer(4000, U'b');
    const std::vector<ov::TMarkedLetter> script = ov::SpellingDiff(typed, answer);
    ASSERT_EQ(script.size(), 9000u);
    EXPECT_EQ(script.front(), (ov::TMarkedLetter{ov::LetterFit::Extra, U'a'}));
    EXPECT_EQ(script.back(), (ov::TMarkedLetter{ov::LetterFit::Missing, U'b'}));
}

}  // namespace
