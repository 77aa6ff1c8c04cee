#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "SwfTestReader.h"
#include "swf/SwfSpec.h"
#include "swf/SwfWriter.h"

namespace ovtool {
namespace {

using nlohmann::json;
using ovtest::ReadSwfFile;
using ovtest::SwfFileRecord;

std::vector<std::uint8_t> Write(const json& spec) { return WriteSwf(ReadSwfSpec(spec)); }

json Stage(json objects, json frames) {
    return {{"width", 550}, {"height", 400}, {"objects", std::move(objects)}, {"frames", std::move(frames)}};
}

std::vector<std::uint16_t> Codes(const SwfFileRecord& swf) {
    std::vector<std::uint16_t> codes;
    for (const auto& tag : swf.tags) codes.push_back(tag.code);
    return codes;
}

const ovtest::SwfTagRecord& Find(const SwfFileRecord& swf, std::uint16_t code) {
    const auto found =
        std::find_if(swf.tags.begin(), swf.tags.end(), [&](const auto& tag) { return tag.code == code; });
    if (found == swf.tags.end()) throw std::runtime_error("tag " + std::to_string(code) + " missing");
    return *found;
}

const json kBox = {{"id", "box"}, {"type", "rect"}, {"width", 40}, {"height", 30}, {"color", "#3366cc"}};

TEST(SwfWriter, HeaderDescribesTheWholeFile) {
    json spec = Stage({kBox}, {{{"show", {{{"id", "box"}, {"x", 0}, {"y", 0}}}}}, {{"steps", 2}}});
    spec["frameRate"] = 12.5;
    const auto file = Write(spec);
    const SwfFileRecord swf = ReadSwfFile(file);
    EXPECT_EQ(swf.signature, "FWS");
    EXPECT_EQ(swf.version, 8);
    EXPECT_EQ(swf.lengthField, file.size());
    EXPECT_EQ(swf.stage.xMax, 11000);
    EXPECT_EQ(swf.stage.yMax, 8000);
    EXPECT_EQ(swf.frameRate, 0x0C80);
    EXPECT_EQ(swf.frameCount, 3);
    const auto codes = Codes(swf);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kTagShowFrame), 3);
    EXPECT_EQ(swf.tags.back().code, kTagEnd);
    EXPECT_EQ(swf.tags.front().code, kTagFileAttributes);
}

TEST(SwfWriter, GlideMovesTheObjectOnEveryFrameAndTheMovieStopsAtItsEnd) {
    const auto swf =
        ReadSwfFile(Write(Stage({kBox}, {{{"show", {{{"id", "box"}, {"x", 0}, {"y", 0}}}}},
                                         {{"show", {{{"id", "box"}, {"x", 30}, {"y", 60}}}}, {"steps", 3}}})));
    EXPECT_EQ(Codes(swf),
              (std::vector<std::uint16_t>{kTagFileAttributes, kTagSetBackgroundColor, kTagDefineShape, kTagPlaceObject2,
                                          kTagShowFrame, kTagPlaceObject2, kTagShowFrame, kTagPlaceObject2,
                                          kTagShowFrame, kTagPlaceObject2, kTagDoAction, kTagShowFrame, kTagEnd}));
    std::vector<std::pair<std::int32_t, std::int32_t>> moves;
    for (const auto& tag : swf.tags) {
        if (tag.code != kTagPlaceObject2) continue;
        const auto place = ovtest::ReadPlace(tag.body);
        EXPECT_EQ(place.depth, 1);
        EXPECT_EQ(place.move, !moves.empty());
        EXPECT_EQ(place.character, moves.empty() ? 1 : 0);
        moves.emplace_back(place.x, place.y);
    }
    EXPECT_EQ(moves, (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 0}, {200, 400}, {400, 800}, {600, 1200}}));
    EXPECT_EQ(Find(swf, kTagDoAction).body, (std::vector<std::uint8_t>{0x07, 0x00}));
}

TEST(SwfWriter, LoopingMovieHasNoStopAndHidingRemovesTheDepth) {
    json spec = Stage({kBox}, {{{"show", {{{"id", "box"}, {"x", 5}, {"y", 5}}}}}, {{"hide", {"box"}}}});
    spec["loop"] = true;
    const auto swf = ReadSwfFile(Write(spec));
    const auto codes = Codes(swf);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kTagDoAction), 0);
    EXPECT_EQ(Find(swf, kTagRemoveObject2).body, (std::vector<std::uint8_t>{1, 0}));
}

TEST(SwfWriter, ButtonClickGoesToTheLabelledFrameAndStops) {
    const json button = {
        {"id", "pick"}, {"type", "button"}, {"parts", {{{"id", "box"}, {"x", 10}, {"y", 0}}}}, {"goto", "right"}};
    // The button is listed before the shape it draws: the shape must still be defined first.
    const auto swf = ReadSwfFile(Write(Stage(
        {button, kBox}, {{{"show", {{{"id", "pick"}, {"x", 0}, {"y", 0}}}}, {"stop", true}}, {{"label", "right"}}})));
    const auto codes = Codes(swf);
    const auto shape = std::find(codes.begin(), codes.end(), kTagDefineShape);
    ASSERT_LT(shape, std::find(codes.begin(), codes.end(), kTagDefineButton2));

    const auto& body = Find(swf, kTagDefineButton2).body;
    ovtest::BitReader in(body, 0);
    EXPECT_EQ(in.U16(), 1u);  // the button's id
    in.U8();
    const std::size_t actions = in.Offset() + in.U16();
    EXPECT_EQ(in.U8(), 0x0Fu);  // all states drawn by the part
    EXPECT_EQ(in.U16(), 2u);    // the shape's id
    ovtest::BitReader action(body, actions);
    EXPECT_EQ(action.U16(), 0u);     // last condition
    EXPECT_EQ(action.U16(), 0x08u);  // released over the button
    EXPECT_EQ(action.U8(), 0x8Cu);   // go to label
    EXPECT_EQ(action.U16(), 6u);
    EXPECT_EQ(action.String(), "right");
    EXPECT_EQ(action.U8(), 0x07u);  // stop
    EXPECT_EQ(action.U8(), 0x00u);
    EXPECT_EQ(action.Offset(), body.size());

    // The label belongs to the second frame.
    const auto label = std::find(codes.begin(), codes.end(), kTagFrameLabel);
    ASSERT_NE(label, codes.end());
    EXPECT_EQ(std::count(codes.begin(), label, kTagShowFrame), 1);
    EXPECT_EQ(swf.tags[static_cast<std::size_t>(label - codes.begin())].body,
              (std::vector<std::uint8_t>{'r', 'i', 'g', 'h', 't', 0}));
}

TEST(SwfWriter, TextIsUtf8InAnEditFieldOverAGlyphlessFont) {
    const json word = {{"id", "w"}, {"type", "text"}, {"text", "好!"}, {"width", 100}, {"height", 30}, {"size", 20}};
    const auto swf = ReadSwfFile(Write(Stage({word}, {{{"show", {{{"id", "w"}, {"x", 0}, {"y", 0}}}}}})));
    const auto codes = Codes(swf);
    ASSERT_LT(std::find(codes.begin(), codes.end(), kTagDefineFont2),
              std::find(codes.begin(), codes.end(), kTagDefineEditText));

    ovtest::BitReader font(Find(swf, kTagDefineFont2).body, 0);
    const std::uint32_t fontId = font.U16();
    font.U8(), font.U8();
    std::string name;
    for (std::uint32_t n = font.U8(); n > 0; --n) name.push_back(static_cast<char>(font.U8()));
    EXPECT_EQ(name, std::string("_sans\0", 6));
    EXPECT_EQ(font.U16(), 0u);  // no glyphs

    const auto& edit = Find(swf, kTagDefineEditText).body;
    ovtest::BitReader in(edit, 2);
    const auto bounds = ovtest::ReadRect(in);
    EXPECT_EQ(bounds.xMax, 2000);
    EXPECT_EQ(bounds.yMax, 600);
    in.U8(), in.U8();
    EXPECT_EQ(in.U16(), fontId);
    EXPECT_EQ(in.U16(), 400u);  // height in twips
    const std::string tail(edit.end() - 6, edit.end());
    EXPECT_EQ(tail, std::string("\0好!\0", 6));
}

TEST(SwfWriter, ShapeOutlinesCloseWithinTheirBounds) {
    struct Case {
        json object;
        ovtest::SwfRectRecord bounds;
    };
    const Case cases[] = {
        {kBox, {0, 800, 0, 600}},
        {{{"id", "c"}, {"type", "circle"}, {"radius", 33.3}}, {-666, 666, -666, 666}},
        {{{"id", "c"}, {"type", "circle"}, {"radius", 2000}}, {-40000, 40000, -40000, 40000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object.dump());
        const auto swf = ReadSwfFile(Write(Stage({c.object}, {json::object()})));
        const auto outline = ovtest::ReadOutline(Find(swf, kTagDefineShape).body);
        EXPECT_EQ(outline.bounds.xMin, c.bounds.xMin);
        EXPECT_EQ(outline.bounds.xMax, c.bounds.xMax);
        EXPECT_EQ(outline.bounds.yMin, c.bounds.yMin);
        EXPECT_EQ(outline.bounds.yMax, c.bounds.yMax);
        EXPECT_GE(outline.edges, 4);
        EXPECT_EQ(outline.endX, outline.startX);
        EXPECT_EQ(outline.endY, outline.startY);
    }
}

TEST(SwfWriter, CompressedFileInflatesToTheUncompressedOne) {
    json spec = Stage({kBox}, {{{"show", {{{"id", "box"}, {"x", 1}, {"y", 2}}}}}});
    const auto plain = Write(spec);
    spec["compress"] = true;
    const auto packed = Write(spec);
    ASSERT_EQ(std::string(packed.begin(), packed.begin() + 3), "CWS");
    EXPECT_TRUE(std::equal(packed.begin() + 3, packed.begin() + 8, plain.begin() + 3));  // version and full length
    std::vector<std::uint8_t> inflated(plain.size() - 8);
    uLongf size = inflated.size();
    ASSERT_EQ(uncompress(inflated.data(), &size, packed.data() + 8, packed.size() - 8), Z_OK);
    EXPECT_EQ(size, inflated.size());
    EXPECT_TRUE(std::equal(inflated.begin(), inflated.end(), plain.begin() + 8));
}

TEST(SwfSpec, ErrorsNameTheField) {
    const json shown = {{{"show", {{{"id", "box"}, {"x", 0}, {"y", 0}}}}}};
    const json button = {
        {"id", "b"}, {"type", "button"}, {"parts", {{{"id", "box"}, {"x", 0}, {"y", 0}}}}, {"goto", "nowhere"}};
    const json selfButton = {
        {"id", "b"}, {"type", "button"}, {"parts", {{{"id", "b"}, {"x", 0}, {"y", 0}}}}, {"goto", "x"}};
    auto with = [](json spec, const std::string& key, json value) {
        spec[key] = std::move(value);
        return spec;
    };
    auto object = [](json changes) {
        json box = kBox;
        box.update(changes);
        return box;
    };
    const struct {
        json spec;
        std::string message;
    } cases[] = {
        {json::array(), "the description: must be a JSON object"},
        {{{"height", 10}, {"frames", shown}}, "width: missing"},
        {with(Stage({kBox}, shown), "width", 0), "width: must be a number from 1 to 2880"},
        {with(Stage({kBox}, shown), "frameRate", "fast"), "frameRate: must be a number"},
        {with(Stage({kBox}, shown), "version", 8.5), "version: must be a whole number"},
        {with(Stage({kBox}, shown), "colour", "#000000"), "colour: unknown field"},
        {Stage({object({{"type", "star"}})}, shown), "objects[0].type: must be"},
        {Stage({object({{"color", "blue"}})}, shown), "objects[0].color: must be a colour"},
        {Stage({object({{"radius", 3}})}, shown), "objects[0].radius: unknown field"},
        {Stage({object({{"height", -1}})}, shown), "objects[0].height: must be a number"},
        {Stage({kBox, kBox}, shown), "objects[1].id: \"box\" names an earlier object too"},
        {Stage({{{"id", "t"}, {"type", "text"}, {"text", ""}, {"width", 9}, {"height", 9}, {"size", 9}}}, shown),
         "objects[0].text: must be a text that is not empty"},
        {Stage({kBox, button}, shown), "objects[1].goto: no frame is labelled \"nowhere\""},
        {Stage({kBox, selfButton}, shown), "objects[1].parts[0].id: \"b\" is a button"},
        {Stage({kBox}, json::array()), "frames: must list at least one frame"},
        {Stage({kBox}, {{{"show", {{{"id", "ball"}, {"x", 0}, {"y", 0}}}}}}),
         "frames[0].show[0].id: no object is called \"ball\""},
        {Stage({kBox}, {{{"show", {{{"id", "box"}, {"x", 9000}, {"y", 0}}}}}}), "frames[0].show[0].x: must be"},
        {Stage({kBox}, {{{"hide", {"box"}}}}), "frames[0].hide[0]: is not on the stage"},
        {Stage({kBox}, {{{"label", "a"}}, {{"label", "a"}}}), "frames[1].label: \"a\" labels an earlier frame too"},
        {Stage({kBox}, {{{"steps", 1.5}}}), "frames[0].steps: must be a whole number"},
        {Stage({kBox}, {{{"steps", 40000}}, {{"steps", 40000}}}), "frames[1].steps: makes the movie longer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spec.dump());
        try {
            ReadSwfSpec(c.spec);
            ADD_FAILURE() << "accepted";
        } catch (const SwfSpecError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

}  // namespace
}  // namespace ovtool
