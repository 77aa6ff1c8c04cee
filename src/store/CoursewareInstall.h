#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace ov {

// A courseware set that cannot be installed; the destination is as it was.
class EInstallError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct InstalledCourseware {
    int entries = 0;                          // catalogue entries added
    int files = 0;                            // packages, scene sounds and pictures copied
    std::vector<std::filesystem::path> kept;  // pictures and sounds left as installed
};

// The files of the courseware set in `source` besides its catalogue, relative
// to it: the plain files directly in Resources/, ENoises/ and Images/, by
// name. Letter folders, Records/ and hidden files are not part of a set.
std::vector<std::filesystem::path> CoursewareSetFiles(const std::filesystem::path& source);

// Copies the courseware set in `source` into the courseware folder
// `destination` (created when missing): its catalogue DB/RsDbList.db, the
// package files of Resources/, and the files of ENoises/ and Images/. The
// catalogue entries are added to the catalogue already there; an entry
// it has already, code and name alike, is shared. Letter folders,
// Records/ and hidden files of the source are not part of a set.
//
// Refused with EInstallError, before anything changes: a source without a
// catalogue, a catalogue that does not open, a code the destination has
// under another name, and a package that differs from one of the same name installed
// already (it would replace another lesson). A file there with the same bytes
// is simply not copied again; a differing picture or scene sound is kept as
// installed and listed. Everything is staged in the destination first and
// moved in one file at a time, the catalogue last; a failure on the way takes
// back what was moved.
InstalledCourseware InstallCourseware(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace ov
