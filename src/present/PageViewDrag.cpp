#include "present/PageView.h"

#include "present/RectShape.h"
#include "present/SentenceWord.h"
#include "present/WordDrop.h"

#include <QLabel>

#include <algorithm>

namespace ov {

namespace {

constexpr int kDragLabelOffsetX = 10;
constexpr int kDragLabelOffsetY = 20;

std::vector<TWordSpan> Spans(const QList<SentenceWord*>& words) {
    std::vector<TWordSpan> spans;
    for (const SentenceWord* word : words) spans.push_back(TWordSpan{word->x(), word->width()});
    return spans;
}

}  // namespace

QList<SentenceWord*> PageView::SentenceWordsByLeft(int sentenceId) const {
    QList<SentenceWord*> words;
    for (const TBoxItem& item : pageItems_) {
        if (item.Kind != ikWord) continue;
        auto* word = static_cast<SentenceWord*>(item.Control);
        if (word->Word().SentenceId == sentenceId) words.append(word);
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const SentenceWord* a, const SentenceWord* b) { return a->x() < b->x(); });
    return words;
}

void PageView::WordMouseDown(SentenceWord* word) {
    word->SetPressed(true);
    dragging_ = true;
}

void PageView::WordMouseMove(SentenceWord* word, int x) {
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

void PageView::WordMouseUp(SentenceWord* word) {
    const int gap = QFontMetrics(font()).horizontalAdvance(QStringLiteral("  "));
    const QList<SentenceWord*> words = SentenceWordsByLeft(word->Word().SentenceId);
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
