#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QPropertyAnimation;
class QWidget;

namespace ov {

// Style bits of the opening: the window is uncovered in the direction each bit names.
enum OpeningStyleBit : int {
    kLeftToRight = 1,
    kRightToLeft = 2,
    kTopToBottom = 4,
    kBottomToTop = 8,
    kFromCentre = 16,
};

// The part of a window of `size` that is uncovered at `progress` (0..1). Bits
// that contradict each other in one axis cancel there; the centre bit grows
// the axes that no direction bit claims.
QRect RevealRect(int style, QSize size, double progress);

// Uncovers a window over 1000 ms by masking it to RevealRect; deletes itself
// when done.
class OpeningAnimation : public QObject {
    Q_OBJECT
    Q_PROPERTY(double progress READ Progress WRITE SetProgress)

public:
    static constexpr int kDurationMs = 1000;

    OpeningAnimation(QWidget* window, int style);
    void Start();

    double Progress() const { return progress_; }
    void SetProgress(double progress);

private:
    QWidget* window_;
    int style_;
    double progress_ = 0;
    QPropertyAnimation* animation_;
};

}  // namespace ov
