#pragma once

#include <string>
#include <vector>

namespace ov {

// A finite-state grammar as plain values, before the recogniser builds its own
// from it. An arc without a word is taken without hearing anything.
struct GrammarGraph {
    struct Arc {
        int from = 0;
        int to = 0;
        double probability = 1.0;
        std::string word;
    };
    int states = 0;
    int start = 0;
    int final = 0;
    std::vector<Arc> arcs;
};

// Weights of the ways through a word's place in the text.
struct GrammarWeights {
    double word = 1.0;
    double skip = 0.1;
    double garbagePhone = 2e-3;
};

// The grammar that walks a text in order. Each word's place can be passed by
// the word itself, by a skip, or by a free loop over the phones that takes
// whatever was said instead; from every place a free jump ends the reading,
// so a pupil who stops early is not forced through a run of skips.
// `slotWords` names the dictionary word of each place, `phoneWords` the
// dictionary words that are one phone each.
GrammarGraph FeedbackGrammar(const std::vector<std::string>& slotWords, const std::vector<std::string>& phoneWords,
                             const GrammarWeights& weights = {});

}  // namespace ov
