#pragma once

#include <filesystem>
#include <string>

namespace ovtest {

// A sentence read by espeak-ng into a WAV file in `folder`; empty when
// espeak-ng is missing. `effects` go to sox afterwards ("pitch 300").
std::filesystem::path Spoken(const std::filesystem::path& folder, const std::string& name, const std::string& text,
                             const std::string& effects = {});
// Runs sox with `arguments`; false when it failed.
bool Sox(const std::string& arguments);

}  // namespace ovtest
