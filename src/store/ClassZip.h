#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/ClassPackageIndex.h"

namespace ov {

// What shows the progress of an unpacking: the player's progress bar, the
// terminal bar of ovtool, a recorder in tests.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetMinimum(int value) = 0;
    virtual void SetMaximum(int value) = 0;
    virtual void SetPosition(int value) = 0;
    virtual int Maximum() const = 0;
};

// Unpacks class packages: a header, five tables and the members' zlib streams.
class TClassZip {
public:
    // Kept for the form that owns the unpacker; the unpacking takes its folders
    // as arguments.
    std::string CompressPath;
    std::string UnCompressPath;
    // The bar goes back to empty at the end unless this is set: the player
    // keeps it full for a moment so that the pupil sees it.
    bool LeaveBarFull = false;
    // Room that must stay free on the destination's file system after the
    // unpacking; a package that would take it is refused before anything is written.
    int64_t KeepFreeBytes = int64_t{512} << 20;

    // Writes every member to destination + "/OV/" + its name. True when all
    // were written; false at the first bad member (those before it stay on
    // disk), when the package cannot be read, or when its members would not
    // leave KeepFreeBytes free (then nothing is written); `error`, when given,
    // says why, naming the member at fault. The bar moves once per member, and
    // a large member moves it while it is written; on failure it keeps its
    // last position. A name that would lead outside the destination or through
    // a link below it is never written, and an existing file is replaced,
    // never written into.
    bool Unpack(const std::string& package, const std::string& destination, ProgressSink* bar,
                std::string* error = nullptr) const;

    ClassHeader ReadHeader(std::string_view header) const;

    // Creates base and every folder on `relative` ("\" or "/" between folders)
    // except its last element, the file name. False when a folder cannot be
    // made, when `relative` leads outside base, or when a link lies on the way.
    bool ForceFolders(const std::string& base, std::string_view relative) const;
};

}  // namespace ov
