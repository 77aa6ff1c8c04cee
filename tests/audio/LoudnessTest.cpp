#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "audio/LoudnessSamples.h"

namespace {

using Block = std::array<uint32_t, ov::kWaveBlockWords>;

uint32_t Word(int16_t left, int16_t right) {
    return static_cast<uint16_t>(left) | static_cast<uint32_t>(static_cast<uint16_t>(right)) << 16;
}

struct HeightCase {
    int16_t left;
    int16_t right;
    int height;
    uint8_t sample;
};

TEST(LoudnessSamples, HeightAndSampleOfAWord) {
    const HeightCase cases[] = {
        {0, 0, 0, 132},                // silence
        {-32000, -32000, -30, 0},      // the quietest byte
        {28800, 28800, 27, 250},       // the loudest byte that fits
        {29867, 29867, 28, 255},
        {30934, 30934, 29, 3},         // 259 wraps
        {32767, 32767, 30, 8},         // 264 wraps
        {-2133, 0, 0, 132},            // both divisions truncate toward zero
        {-1067, -1067, -1, 127},
        {32767, -32768, 0, 132},       // the halves are signed
    };
    for (const auto& c : cases) {
        Block block{};
        block[0] = Word(c.left, c.right);
        const auto got = ov::SampleLoudness(block, 18432, 0);
        EXPECT_EQ(got.height, c.height) << c.left << "," << c.right;
        for (uint8_t s : got.samples) EXPECT_EQ(s, c.sample) << c.left << "," << c.right;
    }
}

TEST(LoudnessSamples, ColumnFollowsThePosition) {
    struct ColumnCase {
        int duration;
        int position;
        int column;
    };
    const ColumnCase cases[] = {
        {3000, 0, 0},
        {3000, 3000, 166},      // short files are drawn on the 18432 ms scale: 18 ms a column
        {-1, 500, 27},          // an unreadable file too
        {30000, 29999, 1034},   // 29 ms a column
        {18432, 40000, 2048},   // past the block's last word
    };
    for (const auto& c : cases) {
        Block block{};
        block[c.column] = Word(32767, 32767);
        const auto got = ov::SampleLoudness(block, ov::ProgressTotalMs(c.duration), c.position);
        EXPECT_EQ(got.column, c.column) << c.duration << " ms at " << c.position;
        EXPECT_EQ(got.height, 30) << "reads the word of its own column";
    }
}

}  // namespace
