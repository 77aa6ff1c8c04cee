#include "shell/OpeningAnimation.h"

#include <gtest/gtest.h>

namespace {

struct RevealCase {
    int style;
    QRect halfway;
};

TEST(OpeningAnimation, RevealFollowsTheStyleBits) {
    const QSize size(200, 100);
    const RevealCase cases[] = {
        {1, {0, 0, 100, 100}},   // left to right
        {2, {100, 0, 100, 100}}, // right to left
        {3, {0, 0, 200, 100}},   // contradicting bits cancel
        {4, {0, 0, 200, 50}},    // top to bottom
        {8, {0, 50, 200, 50}},   // bottom to top
        {12, {0, 0, 200, 100}},
        {16, {50, 25, 100, 50}}, // from the centre
        {5, {0, 0, 100, 50}},    // both motions at once
        {17, {0, 25, 100, 50}},  // a direction bit claims its axis from the centre
        {7, {0, 0, 200, 50}},
        {15, {0, 0, 200, 100}},
    };
    for (const auto& c : cases) EXPECT_EQ(ov::RevealRect(c.style, size, 0.5), c.halfway) << c.style;
    for (int style = 1; style <= 16; ++style)
        EXPECT_EQ(ov::RevealRect(style, size, 1.0), QRect(QPoint(0, 0), size)) << style;
    EXPECT_TRUE(ov::RevealRect(1, size, 0.0).isEmpty());
}

}  // namespace
