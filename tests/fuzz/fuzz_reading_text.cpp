#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "speech/FeedbackGrammar.h"
#include "speech/IpaPhones.h"
#include "speech/SpokenText.h"

// Courseware text becomes dictionary words and a grammar: whatever the
// bytes, every spoken word is plain lower-case English, and the grammar's arcs
// stay within its states.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> slots;
    for (const ov::TextWord& word : ov::SpokenWords(ov::SplitAtSpaces(text))) {
        if (word.spoken.empty()) __builtin_trap();
        for (const std::string& spoken : word.spoken) {
            if (spoken.empty()) __builtin_trap();
            for (char c : spoken)
                if (!((c >= 'a' && c <= 'z') || c == '\'')) __builtin_trap();
            slots.push_back(spoken + "@" + std::to_string(slots.size()));
        }
    }
    const ov::GrammarGraph grammar = ov::FeedbackGrammar(slots, {"~AA", "~B"});
    if (grammar.final < 0 || grammar.final >= grammar.states) __builtin_trap();
    for (const ov::GrammarGraph::Arc& arc : grammar.arcs) {
        if (arc.from < 0 || arc.from >= grammar.states || arc.to < 0 || arc.to >= grammar.states) __builtin_trap();
        if (arc.probability <= 0 || arc.probability > 1) __builtin_trap();
    }
    for (const std::string& phone : ov::IpaToPhones(text))
        if (phone.empty() || phone.size() > 2) __builtin_trap();
    return 0;
}
