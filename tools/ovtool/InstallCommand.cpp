// install-courseware: puts a courseware set where the installed player finds it.
#include <iostream>
#include <memory>
#include <string>

#include "ToolCommand.h"
#include "core/DataFolders.h"
#include "store/CoursewareInstall.h"

namespace ovtool {

namespace {

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

void AddInstallCommand(CLI::App& app) {
    auto source = std::make_shared<std::string>();
    auto system = std::make_shared<bool>(false);
    auto* command = AddCommand(
        app, "install-courseware",
        "Copy a courseware set (DB, Resources, ENoises, Images) into your data folder, or with --system into the "
        "one every user shares, adding its catalogue to the one there",
        [=] {
            const auto environment = ov::FolderEnvironment::Current();
            const auto destination = *system ? ov::SystemInstallFolder(environment) : ov::UserDataFolder(environment);
            if (destination.empty()) throw CommandError{kBadArguments, "XDG_DATA_DIRS names no folder"};
            try {
                const auto result = ov::InstallCourseware(*source, destination);
                for (const auto& kept : result.kept)
                    std::cout << "kept " << kept.string() << ": a different file of that name is installed\n";
                std::cout << Counted(result.entries, "catalogue entry", "catalogue entries") << " and "
                          << Counted(result.files, "file", "files") << " installed into " << destination.string() << '\n';
            } catch (const ov::EInstallError& e) {
                throw CommandError{kFailed, e.what()};
            }
            return kOk;
        });
    command->add_option("FOLDER", *source, "Folder holding the set: DB/RsDbList.db and Resources/ at least")
        ->required()
        ->check(CLI::ExistingDirectory);
    command->add_flag("--system", *system,
                      "Install for every user, into /usr/local/share/ovplayer (or the first "
                      "folder of $XDG_DATA_DIRS when that one is not searched)");
}

}  // namespace ovtool
