#pragma once

#include <string>

namespace ov {

// How espeak-ng's American English voice pronounces a word, in IPA; empty
// when espeak-ng cannot be started. espeak-ng has one state per process, so
// calls are serialised.
std::string EspeakIpa(const std::string& word);

}  // namespace ov
