#pragma once

#include <filesystem>
#include <string>

namespace ovtool {

// Draws one of a lesson's simple pictures into `file` (JPEG, or BMP by the
// extension): "card" (the word `text` on a card), "scene", "notes", and the
// choice marks "right", "selected", "unselected". False when the kind is
// unknown or the file cannot be written. Needs a QGuiApplication.
bool DrawLessonPicture(const std::filesystem::path& file, const std::string& kind, const std::string& text);

}  // namespace ovtool
