#include "shell/SingleInstance.h"

#include "shell/ProgramEntry.h"

#include "TestApp.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override { ovtest::TestApp(); }
    QString Folder() const { return QString::fromStdString(dir.path().string()); }
    ovtest::TempDir dir;
};

TEST_F(SingleInstanceTest, SecondCopyIsRefusedAndRaisesTheFirst) {
    ov::SingleInstance first(Folder());
    ASSERT_TRUE(first.Acquire());
    QSignalSpy raised(&first, &ov::SingleInstance::ActivationRequested);

    ov::SingleInstance second(Folder());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(raised.wait(2000));
    EXPECT_EQ(raised.count(), 1);
}

TEST_F(SingleInstanceTest, RunIsFreeAgainOnceTheFirstCopyEnds) {
    {
        ov::SingleInstance first(Folder());
        ASSERT_TRUE(first.Acquire());
    }
    ov::SingleInstance next(Folder());
    EXPECT_TRUE(next.Acquire());
}

TEST_F(SingleInstanceTest, SecondPlayerShowsTheMessageAndOpensNoWindow) {
    ov::SingleInstance running(Folder());
    ASSERT_TRUE(running.Acquire());
    QSignalSpy raised(&running, &ov::SingleInstance::ActivationRequested);

    int told = 0;
    const int code = ov::RunPlayer(ovtest::TestApp(), {Folder(), 0, [&] {
                                                           ++told;
                                                           EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
                                                       }});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_TRUE(raised.wait(2000));
}

}  // namespace
