#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ovtool {

// The one command of `names` closest to a mistyped `word`, when one is clearly
// meant: a letter or two wrong, missing, extra or swapped, and no other
// command as close.
std::optional<std::string> ClosestCommand(const std::string& word, const std::vector<std::string>& names);

// Looks at the command word before the command line is parsed, since the
// parser would answer "ovtool NOSUCH --help" with the main help and success,
// and a typo in a teacher's script would pass unnoticed. With no command word
// at all it prints a short usage. Either way it writes to `err` and gives the
// exit code; nothing when the command is known.
std::optional<int> RefuseCommandWord(const CLI::App& app, int argc, const char* const* argv, std::ostream& err);

}  // namespace ovtool
