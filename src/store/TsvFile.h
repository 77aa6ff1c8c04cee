#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ov {

// One line of a tab-separated file, with its line number for messages.
struct TsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

// Reads a UTF-8 file of tab-separated fields. Blank lines and lines starting
// with "#" are skipped; "\r" before a line end is dropped; inside a field
// "\n", "\t" and "\\" stand for a line break, a tab and a backslash.
// Throws EStreamError when the file cannot be read.
std::vector<TsvRow> ReadTsvFile(const std::filesystem::path& file);

// The inverse of the field escapes, for writing a field on one line.
std::string EscapeTsvField(const std::string& field);

}  // namespace ov
