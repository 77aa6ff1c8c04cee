#include "SwfSpec.h"

#include <map>

#include "SwfTimeline.h"

namespace ovtool {
namespace {

constexpr double kMaxStage = 2880;
constexpr double kMaxOffset = 2 * kMaxStage;

SwfAlign Align(const SwfJsonFields& fields) {
    const std::string align = fields.Text("align", "left");
    if (align == "left") return SwfAlign::Left;
    if (align == "center") return SwfAlign::Center;
    if (align == "right") return SwfAlign::Right;
    fields.Fail("align", "must be \"left\", \"center\" or \"right\"");
}

class ObjectReader {
public:
    explicit ObjectReader(SwfMovie& movie) : movie_(movie) {}

    void Read(const nlohmann::json& objects) {
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const std::string path = ItemPath("objects", i);
            const nlohmann::json& object = objects[i];
            // Every type's fields here; each type then refuses the others'.
            const SwfJsonFields fields(
                object, path,
                {"id", "type", "radius", "width", "height", "color", "text", "size", "align", "parts", "goto", "play"});
            movie_.characters.push_back(Character(object, path, fields.Text("type")));
            Name(fields, i);
        }
        CheckParts(objects);
    }

    const std::map<std::string, std::size_t>& Ids() const { return ids_; }

private:
    SwfCharacter Character(const nlohmann::json& object, const std::string& path, const std::string& type) {
        if (type == "rect") {
            SwfJsonFields f(object, path, {"id", "type", "width", "height", "color"});
            return SwfRectangle{f.Length("width", 0.05, kMaxStage), f.Length("height", 0.05, kMaxStage),
                                f.Color("color", {})};
        }
        if (type == "circle") {
            SwfJsonFields f(object, path, {"id", "type", "radius", "color"});
            return SwfCircle{f.Length("radius", 0.05, kMaxStage), f.Color("color", {})};
        }
        if (type == "text") {
            SwfJsonFields f(object, path, {"id", "type", "text", "width", "height", "size", "color", "align"});
            return SwfText{f.Text("text"),
                           f.Length("width", 1, kMaxStage),
                           f.Length("height", 1, kMaxStage),
                           f.Length("size", 1, 500),
                           f.Color("color", {}),
                           Align(f)};
        }
        if (type == "button") {
            SwfJsonFields f(object, path, {"id", "type", "parts", "goto", "play"});
            return SwfButton{{}, f.Text("goto"), f.Flag("play", false)};
        }
        FailAt(path + ".type", "must be \"rect\", \"circle\", \"text\" or \"button\"");
    }

    void Name(const SwfJsonFields& fields, std::size_t index) {
        const std::string id = fields.Text("id");
        if (!ids_.emplace(id, index).second) fields.Fail("id", "\"" + id + "\" names an earlier object too");
    }

    // Parts may name objects listed after their button, so they are resolved
    // once every id is known.
    void CheckParts(const nlohmann::json& objects) {
        for (std::size_t i = 0; i < movie_.characters.size(); ++i) {
            auto* button = std::get_if<SwfButton>(&movie_.characters[i]);
            if (button == nullptr) continue;
            const std::string path = ItemPath("objects", i);
            const SwfJsonFields fields(objects[i], path, {"id", "type", "parts", "goto", "play"});
            const nlohmann::json& parts = fields.List("parts");
            if (parts.empty()) fields.Fail("parts", "must list at least one object");
            for (std::size_t p = 0; p < parts.size(); ++p)
                button->parts.push_back(Part(parts[p], ItemPath(path + ".parts", p)));
        }
    }

    SwfPart Part(const nlohmann::json& part, const std::string& path) const {
        const SwfJsonFields f(part, path, {"id", "x", "y"});
        const std::string id = f.Text("id");
        const auto found = ids_.find(id);
        if (found == ids_.end()) f.Fail("id", "no object is called \"" + id + "\"");
        if (std::holds_alternative<SwfButton>(movie_.characters[found->second]))
            f.Fail("id", "\"" + id + "\" is a button; a button is drawn by rectangles, circles and texts");
        return {found->second, f.Length("x", -kMaxOffset, kMaxOffset), f.Length("y", -kMaxOffset, kMaxOffset)};
    }

    SwfMovie& movie_;
    std::map<std::string, std::size_t> ids_;
};

void CheckTargets(const SwfMovie& movie) {
    for (std::size_t i = 0; i < movie.characters.size(); ++i) {
        const auto* button = std::get_if<SwfButton>(&movie.characters[i]);
        if (button == nullptr) continue;
        bool found = false;
        for (const SwfFrame& frame : movie.frames) found = found || frame.label == button->target;
        if (!found) FailAt(ItemPath("objects", i) + ".goto", "no frame is labelled \"" + button->target + "\"");
    }
}

}  // namespace

SwfMovie ReadSwfSpec(const nlohmann::json& spec) {
    const SwfJsonFields top(
        spec, "", {"width", "height", "frameRate", "background", "version", "compress", "loop", "objects", "frames"});
    SwfMovie movie;
    movie.width = top.Length("width", 1, kMaxStage);
    movie.height = top.Length("height", 1, kMaxStage);
    movie.frameRate = top.Number("frameRate", 0.01, 120, 12);
    movie.background = top.Color("background", {255, 255, 255});
    movie.version = static_cast<int>(top.Number("version", 6, 10, 8));
    if (top.Has("version") && top.At("version").get<double>() != movie.version)
        top.Fail("version", "must be a whole number");
    movie.compress = top.Flag("compress", false);
    ObjectReader objects(movie);
    objects.Read(top.List("objects"));
    movie.frames = SwfTimeline(objects.Ids(), kMaxOffset).Read(top.List("frames"), top.Flag("loop", false));
    CheckTargets(movie);
    return movie;
}

}  // namespace ovtool
