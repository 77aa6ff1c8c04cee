#pragma once

#include <string>
#include <vector>

namespace ov {

// How one word of the expected text came through in a recording. Times are
// where the word was heard, or, for a missed word, the gap where it belonged.
struct WordFeedback {
    std::string word;  // as the text writes it
    bool heard = false;
    double confidence = 0.0;  // 0-1
    int startMs = 0;
    int endMs = 0;
    friend bool operator==(const WordFeedback&, const WordFeedback&) = default;
};

// The words of a text in order, each heard or missed: a plain value that can
// be shown, printed or kept.
struct ReadingFeedback {
    std::vector<WordFeedback> words;

    int Heard() const {
        int n = 0;
        for (const WordFeedback& w : words) n += w.heard ? 1 : 0;
        return n;
    }
    int Missed() const { return static_cast<int>(words.size()) - Heard(); }
    friend bool operator==(const ReadingFeedback&, const ReadingFeedback&) = default;
};

}  // namespace ov
