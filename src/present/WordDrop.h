#pragma once

#include <optional>
#include <vector>

namespace ov {

// A word of a sentence line, as the drop rules see it.
struct TWordSpan {
    int Left = 0;
    int Width = 0;
    int End() const { return Left + Width; }
};

struct TDropPoint {
    int CaretLeft = 0;
    // The Left that marks where the dragged word goes.
    int InsertionLeft = 0;
};

// The drop point for a pointer at x over a sentence's words sorted by Left:
// before the first word, past the end by 10 px or more, or on the left or
// right half of a word. A gap between words (and the 10 px past the end)
// gives none.
std::optional<TDropPoint> FindDropPoint(const std::vector<TWordSpan>& words, int x);

// The words' new Lefts after word `dragged` is dropped at `insertionLeft`,
// `gap` apart.
std::vector<int> DroppedLefts(const std::vector<TWordSpan>& words, int dragged, int insertionLeft, int gap);

}  // namespace ov
