#pragma once

#include <string>
#include <vector>

namespace ov {

// A number written in digits, as it is read aloud: "25" is "twenty five".
// Numbers of ten digits or more, and those with leading zeros ("007"), are
// read digit by digit, as people read codes and telephone numbers.
std::vector<std::string> NumberWords(const std::string& digits);

// The ordinal of a number's last word: "five" becomes "fifth".
std::string OrdinalOf(const std::string& word);

}  // namespace ov
