#include "shell/MessageDialog.h"

#include "core/MessageHook.h"
#include "shell/ShellLook.h"
#include "shell/ShowMessageDialog.h"

#include "TestApp.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MessageDialog : public testing::Test {
protected:
    void SetUp() override { ovtest::TestApp(); }
};

TEST_F(MessageDialog, HintShowsOneCentredButton) {
    ov::MessageDialog dialog;
    dialog.Prepare("提示", "未找到资源文件", 0);
    EXPECT_EQ(dialog.size(), QSize(264, 135));
    EXPECT_EQ(dialog.windowTitle(), "提示");
    EXPECT_FALSE(dialog.ImageHint->isHidden());
    EXPECT_TRUE(dialog.ImageQuestion->isHidden());
    EXPECT_TRUE(dialog.BtnCancel->isHidden());
    EXPECT_EQ(dialog.BtnOK->geometry(), QRect(106, 106, 52, 22));
    EXPECT_EQ(dialog.BtnOK->text(), "确定");
    EXPECT_EQ(dialog.lbHint->pos(), QPoint(47, 42));
    EXPECT_EQ(dialog.lbHint->text(), "未找到资源文件");
}

TEST_F(MessageDialog, QuestionSpacesTwoButtonsEvenly) {
    ov::MessageDialog dialog;
    dialog.Prepare("提示", "要退出吗?", 1);
    EXPECT_TRUE(dialog.ImageHint->isHidden());
    EXPECT_FALSE(dialog.ImageQuestion->isHidden());
    const QRect ok = dialog.BtnOK->geometry(), cancel = dialog.BtnCancel->geometry();
    EXPECT_EQ(ok, QRect(53, 106, 52, 22));
    EXPECT_EQ(cancel, QRect(158, 106, 52, 22));
    EXPECT_EQ(dialog.BtnCancel->text(), "取消");
    const int leftGap = ok.left(), middleGap = cancel.left() - ok.right() - 1, rightGap = 264 - cancel.right() - 1;
    EXPECT_EQ(leftGap, middleGap);
    EXPECT_GE(rightGap, leftGap);
    EXPECT_LE(rightGap, leftGap + 2);
}

TEST_F(MessageDialog, TextLaysOutAboveTheButtons) {
    ov::MessageDialog dialog;
    dialog.Prepare("提示", "第一行", 0);
    const int oneLine = dialog.lbHint->height();

    dialog.Prepare("提示", "第一行\n第二行", 0);
    EXPECT_FALSE(dialog.lbHint->wordWrap());
    EXPECT_GE(dialog.lbHint->height(), 2 * oneLine - 2);

    dialog.Prepare("提示", "第一行\r\n第二行", 0);
    EXPECT_EQ(dialog.lbHint->text(), "第一行\n第二行");

    dialog.Prepare("提示", QString(60, QChar(0x5B57)), 1);
    EXPECT_TRUE(dialog.lbHint->wordWrap());
    EXPECT_EQ(dialog.lbHint->x(), 47);
    EXPECT_LE(dialog.lbHint->geometry().right(), 264);
    EXPECT_EQ(dialog.lbHint->height(), dialog.lbHint->heightForWidth(dialog.lbHint->width())) << "nothing cut off";
    EXPECT_LT(dialog.lbHint->geometry().bottom(), dialog.BtnOK->y());
    EXPECT_EQ(dialog.BtnOK->y(), dialog.BtnCancel->y());

    dialog.Prepare("提示", "短", 0);
    EXPECT_FALSE(dialog.lbHint->wordWrap());
    EXPECT_EQ(dialog.size(), QSize(264, 135)) << "a short text keeps the usual size";
    EXPECT_EQ(dialog.BtnOK->y(), 106);
}

TEST_F(MessageDialog, FiveLineScoreTextShowsWholeAboveTheButtons) {
    // The player's CJK face draws taller lines than the dialog was made for.
    ov::ApplyShellLook(ovtest::TestApp());
    ov::MessageDialog dialog;
    const QString score = QStringLiteral(
        "特别提示：\r\n对比是根据录音与课件原音音量的\r\n高底与时长等来分析打分的\r\n仅供参考\r\n对比分值:85");
    dialog.Prepare("原音与录音对比", score, 0);
    EXPECT_GE(dialog.lbHint->height(), 5 * dialog.lbHint->fontMetrics().lineSpacing());
    EXPECT_LT(dialog.lbHint->geometry().bottom(), dialog.BtnOK->y());
    EXPECT_LE(dialog.BtnOK->geometry().bottom(), dialog.height());
    EXPECT_EQ(dialog.width(), 264);
    EXPECT_EQ(dialog.BtnOK->x(), 106);
    EXPECT_EQ(dialog.accessibleName(), "原音与录音对比");
    EXPECT_TRUE(dialog.accessibleDescription().endsWith("对比分值:85"));

    // What the pupil sees: the last line's pixels are not covered by the button.
    dialog.show();
    const QImage shot = dialog.grab().toImage();
    const QRect lastLine(dialog.lbHint->x(), dialog.lbHint->geometry().bottom() - dialog.lbHint->fontMetrics().height(),
                         dialog.lbHint->width(), dialog.lbHint->fontMetrics().height());
    int dark = 0;
    for (int y = lastLine.top(); y <= lastLine.bottom(); ++y)
        for (int x = lastLine.left(); x <= lastLine.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 100) ++dark;
    EXPECT_GT(dark, 20) << "the score line is drawn";
}

TEST_F(MessageDialog, ResultIsOneOnlyForConfirm) {
    struct Case {
        const char* what;
        int kind;
        std::function<void(ov::MessageDialog*)> close;
        int result;
    };
    const Case cases[] = {
        {"确定", 0, [](auto* d) { QTest::mouseClick(d->BtnOK, Qt::LeftButton); }, 1},
        {"确定 of a question", 1, [](auto* d) { QTest::mouseClick(d->BtnOK, Qt::LeftButton); }, 1},
        {"取消", 1, [](auto* d) { QTest::mouseClick(d->BtnCancel, Qt::LeftButton); }, 2},
        {"system menu close", 0, [](auto* d) { d->close(); }, 2},
        {"Escape", 0, [](auto* d) { QTest::keyClick(d, Qt::Key_Escape); }, 2},
    };
    for (const auto& c : cases) {
        ovtest::WhenModal([&](QWidget* modal) { c.close(qobject_cast<ov::MessageDialog*>(modal)); });
        EXPECT_EQ(ov::ShowMessageDialog("提示", "未找到资源文件", c.kind), c.result) << c.what;
    }
}

TEST_F(MessageDialog, LowerLayersReachTheDialogOnceInstalled) {
    ov::InstallMessageDialog();
    QString shown;
    ovtest::WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<ov::MessageDialog*>(modal);
        shown = dialog->windowTitle() + "|" + dialog->lbHint->text();
        QTest::mouseClick(dialog->BtnOK, Qt::LeftButton);
    });
    EXPECT_EQ(ov::ShowMessageEx("提示", "未找到资源文件", 0), 1);
    EXPECT_EQ(shown, "提示|未找到资源文件");
    ov::SetMessageHandler({});
    EXPECT_TRUE(ov::TakeRecordedMessages().empty());
}

}  // namespace
