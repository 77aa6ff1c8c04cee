#include "SwfShapes.h"

#include <array>
#include <cmath>
#include <numbers>

namespace ovtool {
namespace {

struct Point {
    std::int32_t x = 0, y = 0;
};

// Edges are drawn clockwise on the screen (y grows downwards), so the shape's
// inside lies to their right: fill style 1.
void BeginFilledPath(SwfBits& out, SwfColor color, Point start) {
    out.U8(1);  // fill styles
    out.U8(0x00);
    out.U8(color.r);
    out.U8(color.g);
    out.U8(color.b);
    out.U8(0);  // line styles
    out.Unsigned(1, 4);
    out.Unsigned(0, 4);
    out.Unsigned(0b000101, 6);  // style change: fill style 1, move to
    const int bits = SwfBits::SignedWidth({start.x, start.y});
    out.Unsigned(static_cast<std::uint32_t>(bits), 5);
    out.Signed(start.x, bits);
    out.Signed(start.y, bits);
    out.Unsigned(1, 1);
}

// Edge fields are at least 2 bits wide and stored as width - 2.
int EdgeWidth(std::initializer_list<std::int32_t> deltas) {
    const int bits = SwfBits::SignedWidth(deltas);
    return bits < 2 ? 2 : bits;
}

void LineTo(SwfBits& out, Point& at, Point to) {
    const std::int32_t dx = to.x - at.x, dy = to.y - at.y;
    const int bits = EdgeWidth({dx, dy});
    out.Unsigned(0b11, 2);
    out.Unsigned(static_cast<std::uint32_t>(bits - 2), 4);
    out.Unsigned(1, 1);  // general line: both deltas present
    out.Signed(dx, bits);
    out.Signed(dy, bits);
    at = to;
}

void CurveTo(SwfBits& out, Point& at, Point control, Point to) {
    const std::int32_t cx = control.x - at.x, cy = control.y - at.y;
    const std::int32_t ax = to.x - control.x, ay = to.y - control.y;
    const int bits = EdgeWidth({cx, cy, ax, ay});
    out.Unsigned(0b10, 2);
    out.Unsigned(static_cast<std::uint32_t>(bits - 2), 4);
    out.Signed(cx, bits);
    out.Signed(cy, bits);
    out.Signed(ax, bits);
    out.Signed(ay, bits);
    at = to;
}

void EndPath(SwfBits& out) {
    out.Unsigned(0, 6);
    out.Align();
}

Point OnCircle(double radius, double angle) {
    return {static_cast<std::int32_t>(std::lround(radius * std::cos(angle))),
            static_cast<std::int32_t>(std::lround(radius * std::sin(angle)))};
}

}  // namespace

void WriteRect(SwfBits& out, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin, std::int32_t yMax) {
    const int bits = SwfBits::SignedWidth({xMin, xMax, yMin, yMax});
    out.Unsigned(static_cast<std::uint32_t>(bits), 5);
    for (std::int32_t value : {xMin, xMax, yMin, yMax}) out.Signed(value, bits);
    out.Align();
}

void WriteTranslation(SwfBits& out, std::int32_t x, std::int32_t y) {
    out.Unsigned(0, 2);  // no scale, no rotation
    const int bits = (x == 0 && y == 0) ? 0 : SwfBits::SignedWidth({x, y});
    out.Unsigned(static_cast<std::uint32_t>(bits), 5);
    out.Signed(x, bits);
    out.Signed(y, bits);
    out.Align();
}

void WriteShape(SwfBits& out, const SwfRectangle& rectangle) {
    const std::int32_t w = rectangle.width, h = rectangle.height;
    WriteRect(out, 0, w, 0, h);
    Point at;
    BeginFilledPath(out, rectangle.color, at);
    for (Point corner : std::array<Point, 4>{{{w, 0}, {w, h}, {0, h}, {0, 0}}}) LineTo(out, at, corner);
    EndPath(out);
}

// Eight quadratic arcs of 45 degrees; each control point sits where the
// tangents at its two ends meet. Deltas run between rounded points, so the
// path closes exactly.
void WriteShape(SwfBits& out, const SwfCircle& circle) {
    const std::int32_t r = circle.radius;
    WriteRect(out, -r, r, -r, r);
    constexpr int kArcs = 8;
    constexpr double kStep = 2 * std::numbers::pi / kArcs;
    const double controlRadius = r / std::cos(kStep / 2);
    Point at{r, 0};
    BeginFilledPath(out, circle.color, at);
    for (int arc = 1; arc <= kArcs; ++arc) {
        const Point end = arc == kArcs ? Point{r, 0} : OnCircle(r, arc * kStep);
        CurveTo(out, at, OnCircle(controlRadius, (arc - 0.5) * kStep), end);
    }
    EndPath(out);
}

}  // namespace ovtool
