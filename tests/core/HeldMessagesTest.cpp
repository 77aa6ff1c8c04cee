#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/HeldMessages.h"
#include "support/LogCapture.h"

namespace {

std::vector<ov::Message> Hold(int count, bool release) {
    ov::TakeRecordedMessages();
    {
        ov::HeldMessages held;
        for (int i = 0; i < count; ++i) EXPECT_EQ(ov::ShowMessageEx("提示", "m" + std::to_string(i), 0), 1);
        EXPECT_EQ(held.Held().size(), static_cast<size_t>(count));
        EXPECT_TRUE(ov::TakeRecordedMessages().empty()) << "nothing is shown while held";
        if (release) held.Release("test");
    }
    ov::ShowMessageEx("after", "", 0);
    return ov::TakeRecordedMessages();
}

// The first message is shown once the work is done; the log has the next 20
// and then a count; the handler before is back whether or not it was released.
TEST(HeldMessages, ShowTheFirstAndLogTwentyMoreThenACount) {
    const struct {
        int count;
        size_t logged;  // lines
        const char* last;
    } cases[] = {{0, 0, nullptr}, {1, 0, nullptr}, {21, 20, "also: 提示: m20"}, {25, 21, "and 4 more"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        ovtest::LogCapture log;
        const auto shown = Hold(c.count, true);
        ASSERT_EQ(shown.size(), c.count > 0 ? 2u : 1u);
        if (c.count > 0) {
            EXPECT_EQ(shown[0].text, "m0");
        }
        EXPECT_EQ(shown.back().caption, "after");
        ASSERT_EQ(log.lines.size(), c.logged);
        if (c.last) {
            EXPECT_TRUE(log.Has(ov::LogLevel::Warning, "test", c.last));
        }
    }
    const auto dropped = Hold(3, false);
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].caption, "after");
}

}  // namespace
