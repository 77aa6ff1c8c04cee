#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SwfMovie.h"

namespace ovtool {

// Turns the "frames" entries of a movie description into single frames:
// glides become one move per frame, and which objects are on the stage is
// tracked so a move is never written for an object that is not there.
class SwfTimeline {
public:
    SwfTimeline(const std::map<std::string, std::size_t>& ids, double maxOffset);

    std::vector<SwfFrame> Read(const nlohmann::json& entries, bool loop);

private:
    struct Position {
        std::int32_t x = 0, y = 0;
    };
    struct Shown {
        std::size_t character;
        Position to;
    };

    void ReadEntry(const nlohmann::json& entry, const std::string& path);
    std::size_t Character(const nlohmann::json& id, const std::string& path) const;
    std::vector<Shown> ReadShown(const nlohmann::json& list, const std::string& path) const;
    void Hide(const nlohmann::json& list, const std::string& path, SwfFrame& first);
    void Glide(const std::vector<Shown>& shown, std::size_t steps, std::size_t firstFrame);

    const std::map<std::string, std::size_t>& ids_;
    double maxOffset_;
    std::map<std::size_t, Position> onStage_;
    std::set<std::string> labels_;
    std::vector<SwfFrame> frames_;
};

}  // namespace ovtool
