#include "speech/IpaPhones.h"

#include <algorithm>
#include <string_view>

namespace ov {
namespace {

struct Symbol {
    std::string_view ipa;
    std::string_view phones;  // one or two, space-separated
};

// Longer symbols first where one begins another ("aɪɚ" before "aɪ", "oʊ"
// before "o"): the reader takes the first that matches.
constexpr Symbol kSymbols[] = {
    {"aɪɚ", "AY ER"}, {"aʊɚ", "AW ER"},
    {"ɑːɹ", "AA R"}, {"ɔːɹ", "AO R"}, {"oːɹ", "AO R"}, {"ɛɹ", "EH R"}, {"eə", "EH R"},
    {"ɪɹ", "IH R"}, {"ɪə", "IH R"}, {"ʊɹ", "UH R"}, {"ʊə", "UH R"},
    {"aɪ", "AY"}, {"aʊ", "AW"}, {"eɪ", "EY"}, {"oʊ", "OW"}, {"əʊ", "OW"}, {"ɔɪ", "OY"},
    {"tʃ", "CH"}, {"dʒ", "JH"}, {"n̩", "AH N"}, {"l̩", "AH L"}, {"m̩", "AH M"},
    {"ɑː", "AA"}, {"ɔː", "AO"}, {"oː", "AO"}, {"ɜː", "ER"}, {"iː", "IY"}, {"uː", "UW"},
    {"ɑ", "AA"}, {"ɒ", "AA"}, {"æ", "AE"}, {"a", "AE"}, {"ʌ", "AH"}, {"ə", "AH"}, {"ɐ", "AH"},
    {"ɚ", "ER"}, {"ɝ", "ER"}, {"ɜ", "ER"}, {"ɔ", "AO"}, {"ɛ", "EH"}, {"e", "EH"},
    {"ɪ", "IH"}, {"ᵻ", "IH"}, {"i", "IY"}, {"o", "OW"}, {"ʊ", "UH"}, {"u", "UW"},
    {"ð", "DH"}, {"θ", "TH"}, {"ŋ", "NG"}, {"ʃ", "SH"}, {"ʒ", "ZH"}, {"ɹ", "R"}, {"r", "R"},
    {"ɾ", "T"}, {"ʔ", "T"}, {"ɡ", "G"}, {"ɫ", "L"}, {"j", "Y"}, {"h", "HH"}, {"x", "K"},
    {"ç", "HH"},
};

// Letters that are their own phone's name.
constexpr std::string_view kPlainConsonants = "bdfgklmnpstvwz";

size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

void Append(std::string_view phones, std::vector<std::string>& out) {
    while (!phones.empty()) {
        const size_t space = phones.find(' ');
        out.emplace_back(phones.substr(0, space));
        if (space == std::string_view::npos) break;
        phones.remove_prefix(space + 1);
    }
}

}  // namespace

std::vector<std::string> IpaToPhones(const std::string& ipa) {
    std::vector<std::string> phones;
    std::string_view rest = ipa;
    while (!rest.empty()) {
        bool matched = false;
        for (const Symbol& s : kSymbols) {
            if (rest.starts_with(s.ipa)) {
                Append(s.phones, phones);
                rest.remove_prefix(s.ipa.size());
                matched = true;
                break;
            }
        }
        if (matched) continue;
        const char c = rest.front();
        if (kPlainConsonants.find(c) != std::string_view::npos) {
            phones.emplace_back(1, static_cast<char>(c - 'a' + 'A'));
        }
        rest.remove_prefix(std::min(rest.size(), Utf8Length(static_cast<unsigned char>(c))));
    }
    return phones;
}

}  // namespace ov
