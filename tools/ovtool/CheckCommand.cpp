// check: a courseware linter for authors.
#include <filesystem>
#include <iostream>
#include <memory>

#include "ToolCommand.h"
#include "core/TemporaryFolder.h"
#include "lesson/CoursewareCheck.h"
#include "store/ClassZip.h"

namespace ovtool {
namespace {

namespace fs = std::filesystem;

// A folder is either the class folder itself or a package unpacked into it.
fs::path ClassFolderIn(const fs::path& folder) {
    const fs::path unpacked = folder / "OV" / "Class";
    std::error_code error;
    return fs::is_directory(unpacked, error) ? unpacked : folder;
}

fs::path UnpackedClassFolder(const std::string& package, const fs::path& scratch) {
    ov::TClassZip unpacker;
    const fs::path destination = scratch / "package";
    if (!unpacker.Unpack(package, destination.string(), nullptr)) throw CommandError{kFailed, WhyUnpackFailed(package)};
    return destination / "OV" / "Class";
}

void Print(const ov::CheckFinding& finding) {
    std::cout << finding.File << ": ";
    if (!finding.Element.empty()) std::cout << finding.Element << ": ";
    std::cout << finding.Text << '\n';
}

}  // namespace

void AddCheckCommand(CLI::App& app) {
    auto target = std::make_shared<std::string>();
    auto* command = AddCommand(
        app, "check", "Check a class package or lesson folder; one line per finding, exit 1 when there are any", [=] {
            std::error_code error;
            const bool package = fs::is_regular_file(*target, error);
            if (!package && !fs::is_directory(*target, error))
                throw CommandError{kBadArguments, "no such package or folder: " + *target};
            // Where a package is unpacked and pages are decrypted; gone with the command.
            const ov::TemporaryFolder scratch(fs::temp_directory_path(), "ovtool-check-");
            const fs::path classFolder =
                package ? UnpackedClassFolder(*target, scratch.Path()) : ClassFolderIn(*target);
            const fs::path pages = scratch.Path() / "pages";
            fs::create_directories(pages);
            const auto findings = ov::CheckClassFolder(classFolder, pages);
            for (const auto& finding : findings) Print(finding);
            return findings.empty() ? kOk : kFailed;
        });
    command->add_option("PACKAGE|FOLDER", *target, "Class package (.ovpk), or a lesson's class folder")->required();
}

}  // namespace ovtool
