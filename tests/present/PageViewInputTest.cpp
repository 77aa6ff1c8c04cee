#include "BoxFixture.h"

#include "present/RectShape.h"
#include "present/SentenceWord.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>

namespace {

using boxtest::BoxTest;
using lessontest::LessonXml;

// Words "aa", "bb", "cc" of sentence 1 at Left 100, 200, 300 that the pupil may move.
class DragTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        Open(LessonXml({{"alls", boxtest::Sentence(1, boxtest::Word(0, 100, "aa", true) + boxtest::Word(1, 200, "bb", true) +
                                                          boxtest::Word(2, 300, "cc", true))}}));
        ASSERT_TRUE(box->Active());
        for (int i = 0; i < 3; ++i) words[i] = Control<ov::SentenceWord>(ov::ikWord, i);
    }
    // The sentence as it now reads from left to right.
    QString Order() const {
        QList<ov::SentenceWord*> sorted(std::begin(words), std::end(words));
        std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        QStringList texts;
        for (auto* word : sorted) texts.append(word->text());
        return texts.join(' ');
    }
    void Drag(ov::SentenceWord* word, int x) {
        box->WordMouseDown(word);
        box->WordMouseMove(word, x);
    }
    int End(int i) const { return words[i]->x() + words[i]->width(); }

    ov::SentenceWord* words[3] = {};
};

TEST_F(DragTest, LeftOfTheFirstWordMovesToTheFront) {
    Drag(words[2], 50);
    EXPECT_FALSE(box->DropCaret()->isHidden());
    EXPECT_EQ(box->DropCaret()->pos(), QPoint(100, 100));
    EXPECT_FALSE(box->DragLabel()->isHidden());
    EXPECT_EQ(box->DragLabel()->text(), "cc");
    EXPECT_EQ(box->DragLabel()->pos(), QPoint(60, 120));
    box->WordMouseUp(words[2]);
    EXPECT_EQ(Order(), "cc aa bb");
    EXPECT_EQ(words[2]->x(), 100);
    EXPECT_TRUE(box->DropCaret()->isHidden());
    EXPECT_TRUE(box->DragLabel()->isHidden());
    EXPECT_FALSE(box->Dragging());
}

TEST_F(DragTest, TenPixelsBeyondTheEndMovesToTheEnd) {
    const int lastEnd = End(2);
    Drag(words[0], lastEnd + 9);
    EXPECT_TRUE(box->DropCaret()->isHidden());
    box->WordMouseMove(words[0], lastEnd + 10);
    EXPECT_EQ(box->DropCaret()->x(), lastEnd);
    box->WordMouseUp(words[0]);
    EXPECT_EQ(Order(), "bb cc aa");
    EXPECT_EQ(words[1]->x(), 100);
}

TEST_F(DragTest, ReleasingInAGapChangesNothing) {
    Drag(words[0], End(1) + 5);
    EXPECT_TRUE(box->DropCaret()->isHidden());
    box->WordMouseUp(words[0]);
    EXPECT_EQ(words[0]->x(), 100);
    EXPECT_EQ(words[1]->x(), 200);
    EXPECT_EQ(words[2]->x(), 300);
}

TEST_F(DragTest, OnTheLastWordsLeftHalfTheWordStillLandsAfterIt) {
    Drag(words[0], 301);
    const int caret = (300 + End(1)) / 2;
    EXPECT_EQ(box->DropCaret()->x(), caret);
    EXPECT_EQ(box->InsertionLeft(), 300);
    box->WordMouseUp(words[0]);
    EXPECT_EQ(Order(), "bb cc aa");
}

TEST_F(DragTest, PointerPositionsAreTakenInTheBoxsClientArea) {
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    QTest::mousePress(words[2], Qt::LeftButton, {}, QPoint(2, 2));
    // 60 px left of the first word, whatever the box's place on the screen.
    const QPointF local = words[2]->mapFromParent(QPointF(40, 102));
    QMouseEvent move(QEvent::MouseMove, local, words[2]->mapToGlobal(local), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(words[2], &move);
    QTest::mouseRelease(words[2], Qt::LeftButton, {}, local.toPoint());
    EXPECT_EQ(Order(), "cc aa bb");
}

TEST_F(BoxTest, OneWheelNotchScrollsTenPixelsWhateverItsDelta) {
    Open(LessonXml({{"allShape", R"(<rectangle Id="1" Top="0" Left="0" Height="3000" Width="100"/>)"}}));
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    QScrollBar* bar = box->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    const auto notch = [&](int delta) {
        QWheelEvent wheel(QPointF(10, 10), box->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(box->viewport(), &wheel);
    };
    notch(-120);
    EXPECT_EQ(bar->value(), 10);
    notch(-1);
    EXPECT_EQ(bar->value(), 20);
    notch(360);
    EXPECT_EQ(bar->value(), 10);
    notch(0);
    EXPECT_EQ(bar->value(), 0);
}

class PressCounter : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST_F(BoxTest, RightButtonPressesAreSwallowedWhileTheBoxExists) {
    PressCounter elsewhere;
    QTest::mousePress(&elsewhere, Qt::RightButton);
    QTest::mousePress(&elsewhere, Qt::LeftButton);
    EXPECT_EQ(elsewhere.presses, 1);
    box.reset();
    QTest::mousePress(&elsewhere, Qt::RightButton);
    EXPECT_EQ(elsewhere.presses, 2);
}

}  // namespace
