#include "present/WordDrop.h"

namespace ov {

std::optional<TDropPoint> FindDropPoint(const std::vector<TWordSpan>& words, int x) {
    if (words.empty()) return std::nullopt;
    const int first = words.front().Left;
    const int lastEnd = words.back().End();
    if (x <= first) return TDropPoint{first, first};
    if (x >= lastEnd + 10) return TDropPoint{lastEnd, lastEnd};
    const int last = static_cast<int>(words.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        const TWordSpan& word = words[i];
        const int middle = word.Left + word.Width / 2;
        if (word.Left <= x && x <= middle) {
            const int caret = i == 0 ? first : (word.Left + words[i - 1].End()) / 2;
            return TDropPoint{caret, word.Left};
        }
        if (middle <= x && x <= word.End()) {
            if (i == last) return TDropPoint{lastEnd, word.Left};
            return TDropPoint{(words[i + 1].Left + word.End()) / 2, words[i + 1].Left};
        }
    }
    return std::nullopt;
}

std::vector<int> DroppedLefts(const std::vector<TWordSpan>& words, int dragged, int insertionLeft, int gap) {
    std::vector<int> lefts;
    for (const TWordSpan& word : words) lefts.push_back(word.Left);
    const int count = static_cast<int>(words.size());
    int target = count;
    for (int i = 0; i < count; ++i) {
        if (words[i].Left == insertionLeft) {
            target = i;
            break;
        }
    }
    // Each word placed moves the next one along: the next Left follows from
    // the placed word's own width.
    auto place = [&](int i, int& pos) {
        lefts[i] = pos;
        pos = pos + words[i].Width + gap;
    };
    if (words[dragged].Left < insertionLeft) {
        int pos = dragged > 0 ? words[dragged - 1].End() + gap : words[0].Left;
        const int last = target == count - 1 ? target : target - 1;
        for (int i = dragged; i <= last; ++i) {
            if (i != dragged) place(i, pos);
        }
        lefts[dragged] = pos;
    } else {
        int pos = insertionLeft;
        place(dragged, pos);
        for (int i = target; i < count; ++i) {
            if (i != dragged) place(i, pos);
        }
    }
    return lefts;
}

}  // namespace ov
