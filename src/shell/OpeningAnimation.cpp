#include "shell/OpeningAnimation.h"

#include <QPropertyAnimation>
#include <QWidget>

#include <algorithm>

namespace ov {
namespace {

struct Span {
    int start;
    int length;
};

// One axis of the reveal: `forward` grows from the start edge, `backward` from
// the far edge; both or neither leave the axis whole unless the centre grows it.
Span AxisSpan(int full, bool forward, bool backward, bool centre, double progress) {
    const int shown = static_cast<int>(full * progress);
    if (forward && !backward) return {0, shown};
    if (backward && !forward) return {full - shown, shown};
    if (centre && !forward && !backward) return {(full - shown) / 2, shown};
    return {0, full};
}

}  // namespace

QRect RevealRect(int style, QSize size, double progress) {
    progress = std::clamp(progress, 0.0, 1.0);
    const bool centre = style & kFromCentre;
    const Span x = AxisSpan(size.width(), style & kLeftToRight, style & kRightToLeft, centre, progress);
    const Span y = AxisSpan(size.height(), style & kTopToBottom, style & kBottomToTop, centre, progress);
    return {x.start, y.start, x.length, y.length};
}

OpeningAnimation::OpeningAnimation(QWidget* window, int style)
    : QObject(window), window_(window), style_(style),
      animation_(new QPropertyAnimation(this, "progress", this)) {
    animation_->setDuration(kDurationMs);
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
    connect(animation_, &QPropertyAnimation::finished, this, [this] {
        window_->clearMask();
        deleteLater();
    });
}

void OpeningAnimation::Start() {
    SetProgress(0);
    animation_->start();
}

void OpeningAnimation::SetProgress(double progress) {
    progress_ = progress;
    QRect shown = RevealRect(style_, window_->size(), progress);
    // An empty mask would show the whole window on some platforms.
    if (shown.isEmpty()) shown = QRect(0, 0, 1, 1);
    window_->setMask(shown);
    // On X11 a growing mask does not by itself repaint the part it uncovers.
    window_->update();
}

}  // namespace ov
