#include "SwfWriter.h"

#include <zlib.h>

#include <cmath>
#include <stdexcept>

#include "SwfBits.h"
#include "SwfShapes.h"

namespace ovtool {
namespace {

constexpr std::uint8_t kActionEnd = 0x00;
constexpr std::uint8_t kActionPlay = 0x06;
constexpr std::uint8_t kActionStop = 0x07;
constexpr std::uint8_t kActionGotoLabel = 0x8C;
// The generic sans device font: the player maps it to a font with Chinese.
constexpr char kDeviceFont[] = "_sans";

void Tag(SwfBits& out, std::uint16_t code, const std::vector<std::uint8_t>& body) {
    constexpr std::size_t kLongLength = 0x3F;
    if (body.size() < kLongLength) {
        out.U16(static_cast<std::uint32_t>(code << 6 | body.size()));
    } else {
        out.U16(static_cast<std::uint32_t>(code << 6 | kLongLength));
        out.U32(static_cast<std::uint32_t>(body.size()));
    }
    out.Bytes(body);
}

std::uint16_t CharacterId(std::size_t index) { return static_cast<std::uint16_t>(index + 1); }
std::uint16_t Depth(std::size_t index) { return static_cast<std::uint16_t>(index + 1); }

class TagWriter {
public:
    TagWriter(const SwfMovie& movie, SwfBits& out)
        : movie_(movie), out_(out), fontId_(CharacterId(movie.characters.size())) {}

    void Definitions() {
        if (movie_.version >= 8) Tag(out_, kTagFileAttributes, {0, 0, 0, 0});
        Tag(out_, kTagSetBackgroundColor, {movie_.background.r, movie_.background.g, movie_.background.b});
        if (HasText()) Font();
        // Buttons draw other characters, which must be defined before them.
        for (std::size_t i = 0; i < movie_.characters.size(); ++i)
            if (!std::holds_alternative<SwfButton>(movie_.characters[i])) Define(i);
        for (std::size_t i = 0; i < movie_.characters.size(); ++i)
            if (std::holds_alternative<SwfButton>(movie_.characters[i])) Define(i);
    }

    void Frame(const SwfFrame& frame) {
        if (!frame.label.empty()) {
            SwfBits body;
            body.String(frame.label);
            Tag(out_, kTagFrameLabel, body.Data());
        }
        for (std::size_t removed : frame.removals) {
            SwfBits body;
            body.U16(Depth(removed));
            Tag(out_, kTagRemoveObject2, body.Data());
        }
        for (const SwfPlacement& placement : frame.placements) Place(placement);
        if (frame.stop) Tag(out_, kTagDoAction, {kActionStop, kActionEnd});
        Tag(out_, kTagShowFrame, {});
    }

private:
    bool HasText() const {
        for (const SwfCharacter& character : movie_.characters)
            if (std::holds_alternative<SwfText>(character)) return true;
        return false;
    }

    // No glyphs: texts in it are drawn with the player's device font.
    void Font() {
        SwfBits body;
        body.U16(fontId_);
        body.U8(0x04);  // wide codes, as every font from version 6 on
        body.U8(0);     // no language
        // Flash's own files count the name's terminating NUL in its length.
        const std::string name = kDeviceFont;
        body.U8(static_cast<std::uint32_t>(name.size() + 1));
        body.String(name);
        body.U16(0);  // glyphs
        body.U16(2);  // code table offset: the empty code table follows this field
        Tag(out_, kTagDefineFont2, body.Data());
    }

    void Define(std::size_t index) {
        SwfBits body;
        body.U16(CharacterId(index));
        std::visit([&](const auto& character) { Define(body, character); }, movie_.characters[index]);
    }

    void Define(SwfBits& body, const SwfRectangle& rectangle) {
        WriteShape(body, rectangle);
        Tag(out_, kTagDefineShape, body.Data());
    }

    void Define(SwfBits& body, const SwfCircle& circle) {
        WriteShape(body, circle);
        Tag(out_, kTagDefineShape, body.Data());
    }

    void Define(SwfBits& body, const SwfText& text) {
        WriteRect(body, 0, text.width, 0, text.height);
        body.U8(0x8D);  // has text, read-only, has colour, has font
        body.U8(0x30);  // has layout, not selectable
        body.U16(fontId_);
        body.U16(static_cast<std::uint32_t>(text.size));
        body.U8(text.color.r);
        body.U8(text.color.g);
        body.U8(text.color.b);
        body.U8(0xFF);
        body.U8(static_cast<std::uint32_t>(text.align));
        for (int field = 0; field < 4; ++field) body.U16(0);  // margins, indent, leading
        body.String("");                                      // no variable
        body.String(text.text);
        Tag(out_, kTagDefineEditText, body.Data());
    }

    void Define(SwfBits& body, const SwfButton& button) {
        SwfBits records;
        for (std::size_t i = 0; i < button.parts.size(); ++i) {
            const SwfPart& part = button.parts[i];
            records.U8(0x0F);  // up, over, down and hit area alike
            records.U16(CharacterId(part.character));
            records.U16(Depth(i));
            WriteTranslation(records, part.x, part.y);
            records.U8(0);  // colour transform without terms
        }
        records.U8(0);
        body.U8(0);  // not a menu
        body.U16(static_cast<std::uint32_t>(2 + records.Data().size()));
        body.Bytes(records.Data());
        body.U16(0);    // the only condition
        body.U8(0x08);  // released over the button: a click
        body.U8(0x00);
        body.U8(kActionGotoLabel);
        body.U16(static_cast<std::uint32_t>(button.target.size() + 1));
        body.String(button.target);
        body.U8(button.play ? kActionPlay : kActionStop);
        body.U8(kActionEnd);
        Tag(out_, kTagDefineButton2, body.Data());
    }

    void Place(const SwfPlacement& placement) {
        SwfBits body;
        body.U8(placement.move ? 0x05 : 0x06);  // matrix, plus move or character
        body.U16(Depth(placement.character));
        if (!placement.move) body.U16(CharacterId(placement.character));
        WriteTranslation(body, placement.x, placement.y);
        Tag(out_, kTagPlaceObject2, body.Data());
    }

    const SwfMovie& movie_;
    SwfBits& out_;
    std::uint16_t fontId_;
};

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    std::vector<std::uint8_t> packed(size);
    if (compress2(packed.data(), &size, plain.data(), static_cast<uLong>(plain.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("cannot compress the movie");
    packed.resize(size);
    return packed;
}

}  // namespace

std::vector<std::uint8_t> WriteSwf(const SwfMovie& movie) {
    SwfBits body;
    WriteRect(body, 0, movie.width, 0, movie.height);
    body.U16(static_cast<std::uint32_t>(std::lround(movie.frameRate * 256)));
    body.U16(static_cast<std::uint32_t>(movie.frames.size()));
    TagWriter tags(movie, body);
    tags.Definitions();
    for (const SwfFrame& frame : movie.frames) tags.Frame(frame);
    Tag(body, kTagEnd, {});

    const std::vector<std::uint8_t>& after = body.Data();
    SwfBits file;
    file.Bytes({static_cast<std::uint8_t>(movie.compress ? 'C' : 'F'), 'W', 'S'});
    file.U8(static_cast<std::uint32_t>(movie.version));
    file.U32(static_cast<std::uint32_t>(8 + after.size()));
    file.Bytes(movie.compress ? Deflate(after) : after);
    return file.Data();
}

}  // namespace ovtool
