#include "present/WaveRender.h"

#include "audio/LoudnessSamples.h"
#include "core/CoursewarePath.h"
#include "present/SoundDisplay.h"

#include <QPainter>

#include <algorithm>

namespace ov {
namespace {

// The part of "BO.bmp" that is stretched over the whole display.
const QRect kBackgroundPart(15, 27, 127, 70);

// The pixels of one bar: from the base line minus the height towards the base
// line plus the height, the far end left out, as a line is drawn; a height of
// 0 is the single pixel on the base line.
struct BarSpan {
    int first;
    int last;
};

BarSpan Span(int height) {
    const int from = WaveRender::kBaseLine - height;
    const int to = WaveRender::kBaseLine + height;
    if (height > 0) return {from, to - 1};
    if (height < 0) return {to + 1, from};
    return {from, from};
}

}  // namespace

WaveRender::WaveRender(int height, int width, std::filesystem::path programFolder)
    : FProgramFolder(std::move(programFolder)),
      FDisplay(width > 0 ? width : kDefaultWidth, height > 0 ? height : kDefaultHeight, QImage::Format_RGB32) {
    FDisplay.fill(Qt::white);
}

void WaveRender::LoadBackground() {
    const auto path = ResolveCoursewarePath(FProgramFolder, "Images/BO.bmp");
    if (!std::filesystem::is_regular_file(path)) return;
    FBackground.load(QString::fromStdString(path.string()));
}

void WaveRender::Reset() {
    LoadBackground();
    FEndColour = kRed;
}

void WaveRender::Clear() {
    FDisplay.fill(Qt::white);
    if (FBackground.isNull()) return;
    QPainter painter(&FDisplay);
    painter.drawImage(FDisplay.rect(), FBackground, kBackgroundPart);
}

void WaveRender::DrawProgress(SoundDisplay& control, int totalMs, int positionMs, const WaveBlock& block) {
    const LoudnessSample sample = SampleLoudness(block, totalMs, positionMs);
    const bool changed = BarChanges(sample.column, sample.height);
    if (changed) DrawBar(sample.column, sample.height);
    if (!control.TimerEnabled()) return;
    control.AppendSamples(sample.samples);
    if (changed) control.update(sample.column, 0, 1, FDisplay.height());
}

bool WaveRender::BarChanges(int column, int height) const {
    if (column >= FDisplay.width()) return false;
    const BarSpan span = Span(height);
    const int top = std::max(span.first, 0), bottom = std::min(span.last, FDisplay.height() - 1);
    for (int y = top; y <= bottom; ++y) {
        const QRgb wanted = y == kBaseLine - height ? FEndColour : kRed;
        if (FDisplay.pixel(column, y) != wanted) return true;
    }
    return false;
}

void WaveRender::DrawBar(int column, int height) {
    const BarSpan span = Span(height);
    const int top = std::max(span.first, 0), bottom = std::min(span.last, FDisplay.height() - 1);
    for (int y = top; y <= bottom; ++y) FDisplay.setPixel(column, y, kRed);
    const int end = kBaseLine - height;
    if (end >= 0 && end < FDisplay.height()) FDisplay.setPixel(column, end, FEndColour);
}

void WaveRender::Resize(int width, int height) {
    if (width <= 0 || height <= 0 || FDisplay.size() == QSize(width, height)) return;
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(Qt::white);
    QPainter(&resized).drawImage(0, 0, FDisplay);
    FDisplay = std::move(resized);
}

}  // namespace ov
