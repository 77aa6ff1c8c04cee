#pragma once

#include "speech/FeedbackGrammar.h"
#include "speech/ReadingFeedback.h"
#include "speech/SpokenText.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ov {

class SpeechDecoder;

// A text longer than a reader reads in one breath is not a sentence to judge.
constexpr int kMostWordsJudged = 150;

struct JudgeSettings {
    // Speeds the recording is decoded at (1 as recorded); the best-scoring wins.
    // Slower and lower brings a child's voice towards the adult voices the
    // model learnt from.
    std::vector<double> speeds = {1.0, 0.89, 0.8};
    // Below this share of the speech covered by words of the text, the pupil
    // read something else, and every word is missed.
    double leastCoverage = 0.6;
    // How much less of the speech a warp may cover with the text's words than
    // the best-covering warp and still win on score.
    double warpCoverageMargin = 0.05;
    GrammarWeights weights;
};

// Judges which words of an expected text a recording holds: the recording is
// aligned to the text, each word optional, something else allowed in its
// place, and a word is heard when the recogniser chose it in its own place.
class ReadingJudge {
public:
    using Cancelled = std::function<bool()>;

    explicit ReadingJudge(SpeechDecoder& decoder, JudgeSettings settings = {});

    // `shown` are the text's words as shown; the result has one entry for each
    // that says something. Nothing when `cancelled` said so between decodes.
    // Throws ESpeechError when the text has more than kMostWordsJudged words.
    std::optional<ReadingFeedback> Judge(const std::vector<std::string>& shown, const std::vector<int16_t>& samples,
                                         const Cancelled& cancelled = {});

    // Words the dictionary did not know, pronounced from espeak-ng instead.
    const std::set<std::string>& GuessedWords() const { return guessed_; }

private:
    struct Slot {
        int textWord = 0;
        std::string name;  // the slot's own dictionary word
    };
    struct SlotTimes {
        bool heard = false;
        int startMs = 0;
        int endMs = 0;
    };

    // The slot's dictionary word, entered with the spoken word's pronunciations.
    std::optional<std::string> SlotWord(const std::string& spoken, int slot);
    const std::vector<std::string>& PronunciationsOf(const std::string& spoken);
    // `samples` begin `offsetMs` into the recording.
    std::vector<SlotTimes> Align(const std::vector<Slot>& slots, const std::vector<int16_t>& samples, int offsetMs,
                                 double speed, double& scorePerFrame);

    SpeechDecoder& decoder_;
    JudgeSettings settings_;
    std::vector<std::string> phoneWords_;
    std::map<std::string, std::vector<std::string>> pronunciations_;
    std::set<std::string> guessed_;
};

}  // namespace ov
