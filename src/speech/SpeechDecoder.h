#pragma once

#include "speech/FeedbackGrammar.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct ps_decoder_s;

namespace ov {

// The recogniser could not be started (model missing or damaged).
class ESpeechError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where Debian's pocketsphinx-en-us puts the acoustic model and dictionary.
struct SpeechModelFiles {
    std::string acousticModel = "/usr/share/pocketsphinx/model/en-us/en-us";
    std::string dictionary = "/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict";
};

// One word of the best path, in 10 ms frames of the decoded samples.
struct DecodedWord {
    std::string word;
    int firstFrame = 0;
    int lastFrame = 0;
};

struct DecodedPath {
    std::vector<DecodedWord> words;
    // Path score per frame: comparable between decodes of different lengths.
    double scorePerFrame = 0.0;
    bool found = false;
};

// pocketsphinx with the English model loaded, decoding 16 kHz samples against
// a grammar. Loading takes a good part of a second and tens of megabytes, so
// one is kept for the whole run. Not for two threads at once.
class SpeechDecoder {
public:
    // Throws ESpeechError.
    explicit SpeechDecoder(const SpeechModelFiles& files = {});
    ~SpeechDecoder();
    SpeechDecoder(const SpeechDecoder&) = delete;
    SpeechDecoder& operator=(const SpeechDecoder&) = delete;

    // Every pronunciation the dictionary has for a word, as phones separated
    // by spaces; empty when it has none.
    std::vector<std::string> Pronunciations(const std::string& word) const;
    // Enters a word into the dictionary unless it is there already. False
    // when a phone is not one of the model's.
    bool AddWord(const std::string& word, const std::string& phones);
    // The model's context-independent phones, silence and noises left out.
    const std::vector<std::string>& Phones() const { return phones_; }

    DecodedPath Decode(const GrammarGraph& grammar, const std::vector<int16_t>& samples);

private:
    ps_decoder_s* ps_ = nullptr;
    std::vector<std::string> phones_;
};

}  // namespace ov
