#pragma once

#include <filesystem>
#include <string>

namespace ovtool {

// Builds the courseware folder `out` from the lesson source file `source`:
// Resources/<name>.ovpk (encrypted pages, function index, word database,
// pictures and sounds), DB/RsDbList.db (the lesson's catalogue entries) and
// ENoises/ (the scene sounds). Everything is made in a folder beside `out`
// and renamed into place at the end, replacing an earlier build; a failure
// leaves `out` as it was. Throws SourceError for the teacher's mistakes and
// CommandError for everything else. Needs a QGuiApplication.
void BuildCourseware(const std::filesystem::path& source, const std::filesystem::path& out, const std::string& voice);

}  // namespace ovtool
