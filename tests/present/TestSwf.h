#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <utility>
#include <vector>

namespace swftest {

// Packs values most significant bit first, as SWF records are.
class Bits {
public:
    void Put(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            if (used_ % 8 == 0) bytes_.append('\0');
            if ((value >> i) & 1u) bytes_[bytes_.size() - 1] |= char(0x80 >> (used_ % 8));
            ++used_;
        }
    }
    void PutSigned(int32_t value, int count) { Put(uint32_t(value) & ((1u << count) - 1), count); }
    QByteArray Take() {
        used_ = 0;
        return std::exchange(bytes_, {});
    }

private:
    QByteArray bytes_;
    int used_ = 0;
};

inline QByteArray U16(int value) {
    QByteArray out(2, '\0');
    qToLittleEndian<quint16>(quint16(value), out.data());
    return out;
}

inline QByteArray Tag(int code, const QByteArray& body) { return U16((code << 6) | int(body.size())) + body; }

// A rectangle in twips, 16-bit fields.
inline QByteArray Rect(int right, int bottom) {
    Bits bits;
    bits.Put(16, 5);
    for (int value : {0, right, 0, bottom}) bits.PutSigned(value, 16);
    return bits.Take();
}

// A 20 x 20 red square that steps 40 pixels right on every frame over a white
// stage of 400 x 100, at 12 frames a second; Ruffle loops it.
inline QByteArray MovingSquare(int frames) {
    constexpr int kSquare = 400;  // twips
    Bits bits;
    bits.Put(1, 4);  // one fill style bit
    bits.Put(0, 4);  // no line style bits
    bits.Put(0b000101, 6);  // style change: fill style 1, move to
    bits.Put(16, 5);
    bits.PutSigned(0, 16);
    bits.PutSigned(0, 16);
    bits.Put(1, 1);
    for (auto [dx, dy] : std::vector<std::pair<int, int>>{{kSquare, 0}, {0, kSquare}, {-kSquare, 0}, {0, -kSquare}}) {
        bits.Put(0b11, 2);  // straight edge
        bits.Put(14, 4);  // 16-bit deltas
        bits.Put(1, 1);  // general line
        bits.PutSigned(dx, 16);
        bits.PutSigned(dy, 16);
    }
    bits.Put(0, 6);  // end of shape
    const QByteArray shape = U16(1) + Rect(kSquare, kSquare) + QByteArray("\x01\x00\xff\x00\x00\x00", 6) + bits.Take();
    QByteArray body = Rect(8000, 2000) + U16(12 << 8) + U16(frames) + Tag(9, QByteArray("\xff\xff\xff", 3)) +
                      Tag(2, shape);
    for (int frame = 0; frame < frames; ++frame) {
        bits.Put(0, 1);  // no scale
        bits.Put(0, 1);  // no rotation
        bits.Put(16, 5);
        bits.PutSigned(frame * 800, 16);
        bits.PutSigned(800, 16);
        const QByteArray place = frame == 0 ? QByteArray("\x06", 1) + U16(1) + U16(1) : QByteArray("\x05", 1) + U16(1);
        body += Tag(26, place + bits.Take()) + Tag(1, {});
    }
    body += Tag(0, {});
    QByteArray length(4, '\0');
    qToLittleEndian<quint32>(quint32(8 + body.size()), length.data());
    return QByteArray("FWS\x06", 4) + length + body;
}

// The same movie zlib-compressed, as most courseware movies are.
inline QByteArray Compressed(const QByteArray& swf) {
    // qCompress puts the length in front of the zlib stream; SWF keeps its own.
    return "CWS" + swf.mid(3, 5) + qCompress(swf.mid(8)).mid(4);
}

}  // namespace swftest
