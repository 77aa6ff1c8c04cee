#pragma once

#include "lesson/LessonRecords.h"

#include <QColor>
#include <QLabel>

class QPainter;

namespace ov {

// A word of a lesson sentence. It owns its word record and is the one place
// that paints the word: plainly in its own colour, or, when told to, highlighted
// with the first WipeFraction of its width in the wipe colour over the
// highlight colour. The page's script player decides when.
class SentenceWord : public QLabel {
    Q_OBJECT

public:
    SentenceWord(QWidget* parent, const TRSentence& word);

    TRSentence& Word() { return word_; }
    const TRSentence& Word() const { return word_; }

    // The colour the word is drawn in while not highlighted.
    void SetTextColor(const QColor& color);
    // Held down for dragging.
    bool Pressed() const { return pressed_; }
    void SetPressed(bool value) { pressed_ = value; }

    // Highlighting state, painted on the next paint.
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool value);
    double WipeFraction() const { return wipeFraction_; }
    void SetWipeFraction(double value);
    void SetHighlightColors(QColor highlight, QColor wipe);

    // A word the pupil's reading did not bring through: a wavy red line
    // under it, and "没听清" for whoever cannot see the line.
    bool Missed() const { return missed_; }
    void SetMissed(bool value);

    // Gives the label the size of its caption in its font.
    void FitToText();

signals:
    void clicked();
    void pressed();
    // Position of the pointer in the label's parent coordinates.
    void dragged(QPoint position);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintWavyLine(QPainter& painter) const;

    TRSentence word_;
    QColor textColor_;
    bool pressed_ = false;
    bool highlighted_ = false;
    bool missed_ = false;
    double wipeFraction_ = 0.0;
    QColor highlightColor_{Qt::red};
    QColor wipeColor_{Qt::blue};
};

}  // namespace ov
