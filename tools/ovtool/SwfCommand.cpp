// swf: small Flash movies for the demo courseware and the tests.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "ToolCommand.h"
#include "swf/SwfSpec.h"
#include "swf/SwfWriter.h"

namespace ovtool {
namespace {

constexpr char kFormat[] = R"(The JSON description:
Lengths in pixels, colours "#rrggbb"; every field but width, height and frames is optional:
  {"width": 550, "height": 400, "frameRate": 12, "background": "#ffffff",
   "version": 8, "compress": false, "loop": false,
   "objects": [
     {"id": "sun", "type": "circle", "radius": 40, "color": "#ffcc00"},
     {"id": "box", "type": "rect", "width": 80, "height": 60, "color": "#3366cc"},
     {"id": "word", "type": "text", "text": "苹果", "width": 200, "height": 40,
      "size": 28, "color": "#000000", "align": "left|center|right"},
     {"id": "pick", "type": "button", "parts": [{"id": "box", "x": 0, "y": 0}],
      "goto": "right", "play": false}],
   "frames": [
     {"label": "start", "show": [{"id": "sun", "x": 100, "y": 80}], "hide": ["box"],
      "steps": 1, "stop": false}]}
x, y place a corner (a circle: its centre). A frame entry lasts "steps" frames; objects
already shown glide to their new place over them. "stop" stops at the entry's last frame;
unless "loop" is true the movie stops at its last frame. A button is drawn by its parts;
clicking it goes to the frame labelled "goto" (and stops there unless "play" is true).
Texts use the player's device font, so Chinese shows. "compress" (or --compress) writes
a zlib-compressed "CWS" file.)";

nlohmann::json ReadSpec(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw CommandError{kFailed, "cannot read " + file + ": " + std::strerror(errno)};
    try {
        return nlohmann::json::parse(in);
    } catch (const nlohmann::json::parse_error& e) {
        throw CommandError{kBadArguments, file + ": not JSON: " + e.what()};
    }
}

// Written beside the destination and renamed over it, so a failure never
// leaves a partial movie.
void WriteMovie(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    const std::string pending = file + ".writing-" + std::to_string(::getpid());
    std::ofstream out(pending, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::error_code error;
    if (out) std::filesystem::rename(pending, file, error);
    if (!out || error) {
        const std::string why = error ? error.message() : std::strerror(errno);
        std::filesystem::remove(pending, error);
        throw CommandError{kFailed, "cannot write " + file + ": " + why};
    }
}

void AddSwf(CLI::App& app) {
    auto spec = std::make_shared<std::string>();
    auto movie = std::make_shared<std::string>();
    auto compress = std::make_shared<bool>(false);
    auto* command = AddCommand(app, "swf", "Write a Flash movie (SWF, ActionScript 1) described by a JSON file", [=] {
        SwfMovie model;
        try {
            model = ReadSwfSpec(ReadSpec(*spec));
        } catch (const SwfSpecError& e) {
            throw CommandError{kBadArguments, *spec + ": " + e.what()};
        }
        model.compress = model.compress || *compress;
        WriteMovie(*movie, WriteSwf(model));
        return kOk;
    });
    command->footer(kFormat);
    command->add_option("SPEC", *spec, "The movie described in JSON")->required();
    command->add_option("OUT", *movie, "The SWF file to write")->required();
    command->add_flag("--compress", *compress, "Write a zlib-compressed \"CWS\" file");
}

}  // namespace

void AddSwfCommands(CLI::App& app) { AddSwf(app); }

}  // namespace ovtool
