#include "SwfTimeline.h"

#include <cmath>

#include "SwfJsonFields.h"

namespace ovtool {
namespace {

// The frame count is a 16-bit field.
constexpr double kMaxFrames = 65535;

std::int32_t Between(std::int32_t from, std::int32_t to, std::size_t step, std::size_t steps) {
    return from + static_cast<std::int32_t>(std::lround(static_cast<double>(to - from) * static_cast<double>(step) /
                                                        static_cast<double>(steps)));
}

}  // namespace

SwfTimeline::SwfTimeline(const std::map<std::string, std::size_t>& ids, double maxOffset)
    : ids_(ids), maxOffset_(maxOffset) {}

std::vector<SwfFrame> SwfTimeline::Read(const nlohmann::json& entries, bool loop) {
    if (entries.empty()) FailAt("frames", "must list at least one frame");
    for (std::size_t i = 0; i < entries.size(); ++i) ReadEntry(entries[i], ItemPath("frames", i));
    if (!loop) frames_.back().stop = true;
    return std::move(frames_);
}

void SwfTimeline::ReadEntry(const nlohmann::json& entry, const std::string& path) {
    const SwfJsonFields fields(entry, path, {"label", "show", "hide", "steps", "stop"});
    const auto steps = static_cast<std::size_t>(fields.Number("steps", 1, kMaxFrames, 1));
    if (fields.Has("steps") && fields.At("steps").get<double>() != static_cast<double>(steps))
        fields.Fail("steps", "must be a whole number");
    if (static_cast<double>(frames_.size() + steps) > kMaxFrames)
        fields.Fail("steps", "makes the movie longer than 65535 frames");
    const std::vector<Shown> shown = ReadShown(fields.List("show"), fields.PathOf("show"));

    const std::size_t first = frames_.size();
    frames_.resize(first + steps);
    if (fields.Has("label")) {
        const std::string label = fields.Text("label");
        if (!labels_.insert(label).second) fields.Fail("label", "\"" + label + "\" labels an earlier frame too");
        frames_[first].label = label;
    }
    Hide(fields.List("hide"), fields.PathOf("hide"), frames_[first]);
    Glide(shown, steps, first);
    frames_.back().stop = fields.Flag("stop", false);
}

std::size_t SwfTimeline::Character(const nlohmann::json& id, const std::string& path) const {
    if (!id.is_string()) FailAt(path, "must be an object's id");
    const auto found = ids_.find(id.get<std::string>());
    if (found == ids_.end()) FailAt(path, "no object is called \"" + id.get<std::string>() + "\"");
    return found->second;
}

std::vector<SwfTimeline::Shown> SwfTimeline::ReadShown(const nlohmann::json& list, const std::string& path) const {
    std::vector<Shown> shown;
    std::set<std::size_t> seen;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const SwfJsonFields f(list[i], ItemPath(path, i), {"id", "x", "y"});
        const std::size_t character = Character(f.At("id"), f.PathOf("id"));
        if (!seen.insert(character).second) f.Fail("id", "shown twice in one frame");
        shown.push_back({character, {f.Length("x", -maxOffset_, maxOffset_), f.Length("y", -maxOffset_, maxOffset_)}});
    }
    return shown;
}

void SwfTimeline::Hide(const nlohmann::json& list, const std::string& path, SwfFrame& first) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::size_t character = Character(list[i], ItemPath(path, i));
        if (onStage_.erase(character) == 0) FailAt(ItemPath(path, i), "is not on the stage");
        first.removals.push_back(character);
    }
}

void SwfTimeline::Glide(const std::vector<Shown>& shown, std::size_t steps, std::size_t firstFrame) {
    for (const Shown& object : shown) {
        const auto onStage = onStage_.find(object.character);
        if (onStage == onStage_.end()) {
            frames_[firstFrame].placements.push_back({object.character, object.to.x, object.to.y, false});
            onStage_[object.character] = object.to;
            continue;
        }
        const Position from = onStage->second;
        for (std::size_t step = 1; step <= steps; ++step)
            frames_[firstFrame + step - 1].placements.push_back({object.character,
                                                                 Between(from.x, object.to.x, step, steps),
                                                                 Between(from.y, object.to.y, step, steps), true});
        onStage->second = object.to;
    }
}

}  // namespace ovtool
