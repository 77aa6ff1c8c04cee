#pragma once

#include "audio/SoundLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ovtest {

// Tests whose time passes only when they say so.
class VirtualClockTest : public ::testing::Test {
protected:
    void SetUp() override { ov::SoundLibrary::Instance().UseVirtualClock(); }

    // Lets `ms` of output pass and returns what was mixed.
    static std::vector<std::int16_t> Advance(double ms) {
        std::vector<std::int16_t> out;
        ov::SoundLibrary::Instance().AdvanceVirtualClock(ms, &out);
        return out;
    }
};

}  // namespace ovtest
