#include "present/CBox.h"

#include "core/MessageHook.h"

#include "TestApp.h"

#include <gtest/gtest.h>

namespace {

TEST(CBoxActivation, WithoutFileTellsThePupilAndStaysInactive) {
    ovtest::TestApp();
    ov::TakeRecordedMessages();
    ov::TCBox box(nullptr);
    box.SetActive(true);
    EXPECT_FALSE(box.Active());
    const auto messages = ov::TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "提示");
    EXPECT_EQ(messages[0].text, "未找到资源文件");
}

}  // namespace
