#pragma once

#include <nlohmann/json.hpp>

#include "SwfJsonFields.h"
#include "SwfMovie.h"

namespace ovtool {

// A movie described in JSON, lengths in pixels, colours "#rrggbb":
//
// {
//   "width": 550, "height": 400,        stage size, 1 to 2880
//   "frameRate": 12,                    frames a second, default 12
//   "background": "#ffffff",            default white
//   "version": 8,                       6 to 10, default 8
//   "compress": false,                  true writes "CWS" (zlib)
//   "loop": false,                      false: the movie stops at its last frame
//   "objects": [                        each shown at most once at a time
//     {"id": "sun", "type": "circle", "radius": 40, "color": "#ffcc00"},
//     {"id": "box", "type": "rect", "width": 80, "height": 60, "color": "#3366cc"},
//     {"id": "word", "type": "text", "text": "苹果", "width": 200, "height": 40,
//      "size": 28, "color": "#000000", "align": "left" | "center" | "right"},
//     {"id": "pick", "type": "button", "parts": [{"id": "box", "x": 0, "y": 0}],
//      "goto": "right", "play": false}
//   ],
//   "frames": [
//     {"label": "start", "show": [{"id": "sun", "x": 100, "y": 80}],
//      "hide": ["box"], "steps": 1, "stop": false}
//   ]
// }
//
// x and y place a rectangle's, text's or button's top-left corner and a
// circle's centre. A frame entry lasts "steps" frames (default 1): objects it
// shows that are already on the stage glide to the new place over those
// frames, others appear at once; its label names its first frame and "stop"
// stops at its last. A button is drawn by its parts (rectangles, circles,
// texts) and a click on it goes to the frame labelled "goto", stopping there
// unless "play" is true.
//
// Throws SwfSpecError naming the first field it cannot follow.
SwfMovie ReadSwfSpec(const nlohmann::json& spec);

}  // namespace ovtool
