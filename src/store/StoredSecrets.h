#pragma once

#include <string_view>

namespace ov {

// The installation's short secrets, kept only enciphered. Each comment names
// the key to decipher it with: "empty" means DecipherString(text, ""),
// "default" means the default key passed explicitly.

// The catalogue database password; also the lesson page key. Key: empty.
extern const std::string_view kCatalogueDbPassword;
extern const std::string_view kLessonPageKey;
// Appended to a catalogue node's text to name its class package. Key: default.
extern const std::string_view kClassPackageSuffix;
// Appended to the class folder to name the lesson's word database. Key: default.
extern const std::string_view kWordDbFileName;
// The word database's password. Key: default.
extern const std::string_view kWordDbPassword;

}  // namespace ov
