#include "BoxFixture.h"

namespace {

using boxtest::BoxTest;
using ov::TakeRecordedMessages;

TEST_F(BoxTest, ActivationWithoutLessonFileTellsThePupilAndStaysInactive) {
    box->SetActive(true);
    EXPECT_FALSE(box->Active());
    box->SetFilePath(QString::fromStdString(dir.path().string()));
    box->SetFileName("absent.ovb");
    box->SetActive(true);
    EXPECT_FALSE(box->Active());
    const auto messages = TakeRecordedMessages();
    ASSERT_EQ(messages.size(), 2u);
    for (const ov::Message& message : messages) {
        EXPECT_EQ(message.caption, "提示");
        EXPECT_EQ(message.text, "未找到资源文件");
    }
    box->SetActive(false);
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

}  // namespace
