#include "speech/FeedbackGrammar.h"

namespace ov {

GrammarGraph FeedbackGrammar(const std::vector<std::string>& slotWords, const std::vector<std::string>& phoneWords,
                             const GrammarWeights& weights) {
    // States 0..n are the places between words, n the end; n+1+i is the
    // phone loop standing in for word i.
    const int n = static_cast<int>(slotWords.size());
    GrammarGraph g;
    g.states = 2 * n + 1;
    g.start = 0;
    g.final = n;
    for (int i = 0; i < n; ++i) {
        const int loop = n + 1 + i;
        g.arcs.push_back({i, i + 1, weights.word, slotWords[i]});
        g.arcs.push_back({i, i + 1, weights.skip, {}});
        for (const std::string& phone : phoneWords) {
            g.arcs.push_back({i, loop, weights.garbagePhone, phone});
            g.arcs.push_back({loop, loop, weights.garbagePhone, phone});
        }
        g.arcs.push_back({loop, i + 1, 1.0, {}});
        if (i + 1 < n) g.arcs.push_back({i, n, 1.0, {}});
    }
    return g;
}

}  // namespace ov
