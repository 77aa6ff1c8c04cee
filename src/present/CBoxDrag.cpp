#include "present/CBox.h"

#include "present/RectShape.h"
#include "present/TimerLabel.h"
#include "present/WordDrop.h"

#include <QLabel>

#include <algorithm>

namespace ov {

namespace {

constexpr int kDragLabelOffsetX = 10;
constexpr int kDragLabelOffsetY = 20;

std::vector<TWordSpan> Spans(const QList<TTimerLabel*>& words) {
    std::vector<TWordSpan> spans;
    for (const TTimerLabel* word : words) spans.push_back(TWordSpan{word->x(), word->width()});
    return spans;
}

}  // namespace

QList<TTimerLabel*> TCBox::SentenceWordsByLeft(int sentenceId) const {
    QList<TTimerLabel*> words;
    for (const TBoxItem& item : pageItems_) {
        if (item.Kind != ikWord) continue;
        auto* word = static_cast<TTimerLabel*>(item.Control);
        if (word->Word().SentenceId == sentenceId) words.append(word);
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const TTimerLabel* a, const TTimerLabel* b) { return a->x() < b->x(); });
    return words;
}

void TCBox::WordMouseDown(TTimerLabel* word) {
    word->SetPressed(true);
    dragging_ = true;
}

void TCBox::WordMouseMove(TTimerLabel* word, int x) {
    if (!dragging_ || !word->Pressed()) return;
    const std::vector<TWordSpan> spans = Spans(SentenceWordsByLeft(word->Word().SentenceId));
    dropCaret_->hide();
    if (const std::optional<TDropPoint> drop = FindDropPoint(spans, x)) {
        insertionLeft_ = drop->InsertionLeft;
        dropCaret_->move(drop->CaretLeft, word->y());
        dropCaret_->show();
        dropCaret_->raise();
    }
    dragLabel_->setFont(word->font());
    dragLabel_->setText(word->text());
    dragLabel_->adjustSize();
    dragLabel_->move(x + kDragLabelOffsetX, word->y() + kDragLabelOffsetY);
    dragLabel_->show();
    dragLabel_->raise();
}

void TCBox::WordMouseUp(TTimerLabel* word) {
    const int gap = QFontMetrics(font()).horizontalAdvance(QStringLiteral("  "));
    const QList<TTimerLabel*> words = SentenceWordsByLeft(word->Word().SentenceId);
    if (!dropCaret_->isHidden()) {
        const std::vector<int> lefts =
            DroppedLefts(Spans(words), static_cast<int>(words.indexOf(word)), insertionLeft_, gap);
        for (qsizetype i = 0; i < words.size(); ++i) words[i]->move(lefts[static_cast<size_t>(i)], words[i]->y());
    }
    word->SetPressed(false);
    dragging_ = false;
    dropCaret_->hide();
    dragLabel_->hide();
}

}  // namespace ov
