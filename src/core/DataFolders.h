#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// What the folder rule reads from the process. Kept as a value so every
// branch of the rule can be tried on folders of a test's own.
struct FolderEnvironment {
    std::string ovHome;                      // OV_HOME
    std::filesystem::path executableFolder;  // the folder of the running program
    std::string dataHome;                    // XDG_DATA_HOME
    std::string dataDirs;                    // XDG_DATA_DIRS
    std::string home;                        // HOME
    // Whether this process may create files in a folder (one that does not
    // exist yet counts when it could be created).
    std::function<bool(const std::filesystem::path&)> writable;

    static FolderEnvironment Current();
};

// Where courseware (DB/, Resources/, ENoises/, Images/) is read from and
// where the player writes its letter folders, decrypted pages and Records/.
//
// Courseware is OV_HOME when set; else the program's own folder when it
// holds DB/ or Resources/ (an installation kept in one folder); else every
// folder on the data search path that holds courseware, the pupil's own
// $XDG_DATA_HOME/ovplayer first and then each $XDG_DATA_DIRS/ovplayer, so a
// set a teacher adds to a system folder reaches every pupil.
//
// The player writes into a single courseware folder when it may; otherwise,
// and always when courseware comes from the search path, into the pupil's own
// data folder. Folders on the search path are shared: pupils would sweep away
// each other's letter folders there.
class DataFolders {
public:
    static DataFolders Find(const FolderEnvironment& environment);
    static DataFolders Current() { return Find(FolderEnvironment::Current()); }
    // Everything in one folder, read and written, as an installation kept in
    // one writable folder has it.
    static DataFolders InOneFolder(const std::filesystem::path& folder);

    // These folders and then `folder`, read after every other: the copy of a
    // courseware server, which a set installed on the computer overrides.
    DataFolders WithLowest(const std::filesystem::path& folder) const;

    // Highest precedence first; never empty.
    const std::vector<std::filesystem::path>& Courseware() const { return courseware_; }
    const std::filesystem::path& Primary() const { return courseware_.front(); }
    const std::filesystem::path& Writable() const { return writable_; }

    // The first courseware folder in which `relative` exists, else the
    // primary one, so a path built from it names where the file would be.
    const std::filesystem::path& Holding(const std::filesystem::path& relative) const;
    // `relative` below that folder.
    std::filesystem::path Find(const std::filesystem::path& relative) const { return Holding(relative) / relative; }
    // `relative` under every courseware folder that has it, in precedence order.
    std::vector<std::filesystem::path> Existing(const std::filesystem::path& relative) const;

private:
    std::vector<std::filesystem::path> courseware_;
    std::filesystem::path writable_;
};

// The pupil's own data folder: $XDG_DATA_HOME/ovplayer, by default
// ~/.local/share/ovplayer.
std::filesystem::path UserDataFolder(const FolderEnvironment& environment);
// The data folders shared by every user, in precedence order:
// $XDG_DATA_DIRS/ovplayer, by default under /usr/local/share and /usr/share.
std::vector<std::filesystem::path> SystemDataFolders(const FolderEnvironment& environment);
// Where courseware for every user is installed: /usr/local/share/ovplayer,
// the place of an administrator's own data, when it is searched (desktops
// often put folders of their own first); else the first shared folder.
// Empty when there is none.
std::filesystem::path SystemInstallFolder(const FolderEnvironment& environment);
// The program's own read-only files (help page, web player) of an installed
// tree: <prefix>/share/ovplayer beside <prefix>/bin.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder);
// The folder of the running program.
std::filesystem::path ExecutableFolder();

}  // namespace ov
