#pragma once

#include <string>
#include <vector>

namespace ov {

// The recogniser's phones (the CMU set: "AA", "B", ...) for a transcription in
// the International Phonetic Alphabet as espeak-ng writes English. Stress and
// length marks are dropped; a symbol the phone set has no counterpart for is
// skipped rather than guessed.
std::vector<std::string> IpaToPhones(const std::string& ipa);

}  // namespace ov
