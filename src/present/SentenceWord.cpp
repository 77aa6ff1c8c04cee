#include "present/SentenceWord.h"

#include "present/ToolkitColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ov {

SentenceWord::SentenceWord(QWidget* parent, const TRSentence& word)
    : QLabel(parent), word_(word), textColor_(ToQColor(word.Color)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setText(QString::fromStdString(word.Text));
    setAccessibleName(text());
}

void SentenceWord::SetHighlighted(bool value) {
    if (value == highlighted_) return;
    highlighted_ = value;
    // What the eye sees in red, a screen reader hears: the sentence being read.
    setAccessibleDescription(value ? QStringLiteral("正在朗读") : QString());
    update();
}

void SentenceWord::SetWipeFraction(double value) {
    value = std::clamp(value, 0.0, 1.0);
    if (value == wipeFraction_) return;
    wipeFraction_ = value;
    update();
}

void SentenceWord::SetHighlightColors(QColor highlight, QColor wipe) {
    highlightColor_ = highlight;
    wipeColor_ = wipe;
    update();
}

void SentenceWord::FitToText() {
    const QFontMetrics metrics(font());
    resize(std::max(1, metrics.horizontalAdvance(text())), metrics.height());
}

void SentenceWord::SetTextColor(const QColor& color) {
    if (color == textColor_) return;
    textColor_ = color;
    update();
}

void SentenceWord::SetMissed(bool value) {
    if (missed_ == value) return;
    missed_ = value;
    setAccessibleDescription(value ? QStringLiteral("没听清") : QString());
    update();
}

// Under the baseline, within the label: the label keeps its size, so the
// page's layout does not move.
void SentenceWord::PaintWavyLine(QPainter& painter) const {
    const QFontMetricsF metrics(font());
    const double y = std::min(metrics.ascent() + metrics.descent() * 0.5, height() - 2.5);
    const double amplitude = 1.5, step = 2.0;
    QPainterPath wave(QPointF(0, y));
    bool up = true;
    for (double x = step; x <= width(); x += step, up = !up) wave.lineTo(x, y + (up ? -amplitude : amplitude));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xE0, 0x20, 0x20), 1.2));
    painter.drawPath(wave);
    painter.restore();
}

void SentenceWord::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(highlighted_ ? highlightColor_ : textColor_);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, text());
    if (missed_) PaintWavyLine(painter);
    if (!highlighted_ || wipeFraction_ <= 0.0) return;
    painter.setClipRect(QRectF(0, 0, width() * wipeFraction_, height()));
    painter.setPen(wipeColor_);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, text());
}

void SentenceWord::mousePressEvent(QMouseEvent* event) {
    emit pressed();
    event->accept();
}

void SentenceWord::mouseMoveEvent(QMouseEvent* event) {
    emit dragged(mapToParent(event->position().toPoint()));
    event->accept();
}

void SentenceWord::mouseReleaseEvent(QMouseEvent* event) {
    emit released();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    event->accept();
}

}  // namespace ov
