#include "store/CoursewareInstall.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <map>
#include <system_error>

#include "core/TemporaryFolder.h"
#include "core/UniqueFd.h"
#include "store/CatalogueMerge.h"
#include "store/SqliteAuthoring.h"
#include "store/LessonData.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

std::vector<CatalogueNode> ReadInstallCatalogue(const fs::path& file) {
    try {
        return ReadCatalogueFile(file);
    } catch (const ESqliteError& e) {
        throw EInstallError("the catalogue " + file.string() + " does not open: " + e.what());
    }
}

// The entries of `added` the catalogue lacks. A set of one lesson carries its
// textbook, grade and unit too; where the catalogue has those same entries
// already (another lesson of the book), the lesson joins them. A code taken
// by another name is refused.
std::vector<CatalogueNode> NewEntries(const std::vector<CatalogueNode>& installed,
                                      const std::vector<CatalogueNode>& added, const fs::path& catalogue) {
    std::map<std::string, std::string, std::less<>> names;
    for (const auto& entry : installed) names.emplace(entry.code, entry.name);
    std::string clashes;
    std::vector<CatalogueNode> fresh;
    for (const auto& entry : added) {
        const auto it = names.find(entry.code);
        if (it == names.end())
            fresh.push_back(entry);
        else if (it->second != entry.name)
            clashes += "\n  " + entry.code + " \"" + entry.name + "\" is taken by \"" + it->second + "\"";
    }
    if (!clashes.empty())
        throw EInstallError("catalogue codes already used in " + catalogue.string() + ":" + clashes +
                            "\nnothing was installed; give the set codes of its own");
    return fresh;
}

// Packages run to hundreds of megabytes: compared a block at a time.
bool SameBytes(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec) return false;
    std::ifstream left(a, std::ios::binary);
    std::ifstream right(b, std::ios::binary);
    std::string leftBlock(1 << 16, '\0');
    std::string rightBlock(1 << 16, '\0');
    while (left && right) {
        left.read(leftBlock.data(), static_cast<std::streamsize>(leftBlock.size()));
        right.read(rightBlock.data(), static_cast<std::streamsize>(rightBlock.size()));
        if (left.gcount() != right.gcount() || leftBlock.compare(0, static_cast<size_t>(left.gcount()), rightBlock, 0,
                                                                 static_cast<size_t>(right.gcount())) != 0)
            return false;
    }
    return left.eof() && right.eof();
}

// One file to copy: where it comes from and its place below the destination.
struct Copy {
    fs::path from;
    fs::path relative;
};

std::vector<Copy> FilesToCopy(const fs::path& source, const fs::path& destination, InstalledCourseware& result) {
    std::vector<Copy> copies;
    for (const auto& relative : CoursewareSetFiles(source)) {
        const fs::path file = source / relative;
        const fs::path there = destination / relative;
        std::error_code ec;
        if (!fs::exists(there, ec)) {
            copies.push_back({file, relative});
        } else if (SameBytes(file, there)) {
            continue;
        } else if (relative.begin()->string() == "Resources") {
            throw EInstallError("a different package " + there.string() +
                                " is installed already; nothing was installed");
        } else {
            result.kept.push_back(there);
        }
    }
    return copies;
}

// Only one install at a time may read and replace a folder's catalogue.
UniqueFd LockFolder(const fs::path& destination) {
    UniqueFd lock(::open((destination / ".install-lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!lock || ::flock(lock.get(), LOCK_EX) != 0)
        throw EInstallError("cannot lock " + destination.string() + ": " + std::generic_category().message(errno));
    return lock;
}

// Moves a staged file to a place that must still be free: a file that
// appeared there meanwhile is never replaced.
void MoveIntoFreePlace(const fs::path& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    // File systems without the no-replace flag: look, then move.
    const int error = errno;
    if (error != EINVAL)
        throw fs::filesystem_error("cannot move into place", from, to, {error, std::generic_category()});
    if (fs::exists(to))
        throw fs::filesystem_error("cannot move into place", from, to, {EEXIST, std::generic_category()});
    fs::rename(from, to);
}

TemporaryFolder StagingFolder(const fs::path& destination) {
    try {
        return TemporaryFolder(destination, ".install-");
    } catch (const fs::filesystem_error& e) {
        throw EInstallError(std::string(e.what()) + "; nothing was installed");
    }
}

void Commit(const fs::path& stage, const fs::path& destination, const std::vector<Copy>& copies) {
    std::vector<fs::path> moved;
    try {
        for (const auto& copy : copies) {
            MoveIntoFreePlace(stage / copy.relative, destination / copy.relative);
            moved.push_back(destination / copy.relative);
        }
        fs::create_directories(destination / "DB");
        fs::rename(stage / kCatalogueDbFile, destination / kCatalogueDbFile);
    } catch (const fs::filesystem_error& e) {
        for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
            std::error_code ignored;
            fs::remove(*it, ignored);
        }
        throw EInstallError(std::string(e.what()) + "; nothing was installed");
    }
}

}  // namespace

std::vector<fs::path> CoursewareSetFiles(const fs::path& source) {
    std::vector<fs::path> files;
    for (const char* folder : {"Resources", "ENoises", "Images"}) {
        std::vector<fs::path> names;
        std::error_code ec;
        for (fs::directory_iterator it(source / folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (!name.starts_with('.') && it->is_regular_file(ec)) names.push_back(fs::path(folder) / name);
        }
        std::sort(names.begin(), names.end());
        files.insert(files.end(), names.begin(), names.end());
    }
    return files;
}

InstalledCourseware InstallCourseware(const fs::path& source, const fs::path& destination) {
    const fs::path sourceCatalogue = source / kCatalogueDbFile;
    std::error_code ec;
    if (!fs::is_regular_file(sourceCatalogue, ec))
        throw EInstallError(source.string() + " holds no courseware set: " + sourceCatalogue.string() + " is missing");
    const auto added = ReadInstallCatalogue(sourceCatalogue);

    fs::create_directories(destination, ec);
    if (ec) throw EInstallError("cannot make " + destination.string() + ": " + ec.message());
    const UniqueFd lock = LockFolder(destination);
    const fs::path catalogue = destination / kCatalogueDbFile;
    std::vector<CatalogueNode> installed;
    if (fs::exists(catalogue, ec)) installed = ReadInstallCatalogue(catalogue);
    const auto fresh = NewEntries(installed, added, catalogue);

    InstalledCourseware result;
    const auto copies = FilesToCopy(source, destination, result);
    // Staged beside the files it will become, so moving them in is a rename
    // on one file system; hidden, so the player's sweep leaves it alone.
    const TemporaryFolder stage = StagingFolder(destination);
    try {
        for (const auto& copy : copies) {
            fs::create_directories((stage.Path() / copy.relative).parent_path());
            fs::copy_file(copy.from, stage.Path() / copy.relative);
        }
        CreateDatabaseFile(stage.Path() / kCatalogueDbFile, CataloguePassword(), [&](SqliteDatabase& db) {
            CreateCatalogueTable(db);
            for (const auto& entry : installed) AddCatalogueEntry(db, entry.code, entry.name);
            for (const auto& entry : fresh) AddCatalogueEntry(db, entry.code, entry.name);
        });
    } catch (const std::exception& e) {
        throw EInstallError(std::string("cannot stage the set: ") + e.what() + "; nothing was installed");
    }
    Commit(stage.Path(), destination, copies);
    result.entries = static_cast<int>(fresh.size());
    result.files = static_cast<int>(copies.size());
    return result;
}

}  // namespace ov
