// pack, list, unpack: class packages.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>

#include "ToolCommand.h"
#include "core/GbkText.h"
#include "store/ClassPackageFile.h"
#include "store/ClassPackageIndex.h"
#include "store/ClassPackageWriter.h"
#include "store/ClassZip.h"
#include "store/CipherAndFiles.h"

namespace ovtool {
namespace {

// Redraws one line of stderr; only used when a person watches the terminal.
class TerminalBar : public ov::ProgressSink {
public:
    ~TerminalBar() override {
        if (drawn_) std::cerr << '\n';
    }
    void SetMinimum(int value) override { minimum_ = value; }
    void SetMaximum(int value) override {
        maximum_ = value;
        sized_ = true;
    }
    int Maximum() const override { return maximum_; }
    // The steps before the member count is known take no time worth showing,
    // and the final return to the start would hide the full bar.
    void SetPosition(int value) override {
        if (!sized_ || (drawn_ && value == minimum_)) return;
        constexpr int kWidth = 40;
        const long span = std::max(1L, static_cast<long>(maximum_) - minimum_);
        const long done = std::clamp(static_cast<long>(value) - minimum_, 0L, span);
        const int filled = static_cast<int>(done * kWidth / span);
        std::cerr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << value << '/'
                  << maximum_ << std::flush;
        drawn_ = true;
    }

private:
    int minimum_ = 0;
    int maximum_ = 100;
    bool sized_ = false;
    bool drawn_ = false;
};

void OpenPackage(ov::ClassPackageFile& file, const std::string& package) {
    if (!file.Open(package)) throw CommandError{kFailed, "cannot read " + package + ": " + std::strerror(errno)};
}

void AddPack(CLI::App& app) {
    auto folder = std::make_shared<std::string>();
    auto package = std::make_shared<std::string>();
    auto* command = AddCommand(app, "pack", "Write a class package of the files under FOLDER", [=] {
        if (!std::filesystem::is_directory(*folder)) throw CommandError{kBadArguments, "not a folder: " + *folder};
        try {
            ov::WriteClassPackage(*folder, *package);
        } catch (const std::runtime_error& e) {
            throw CommandError{kFailed, e.what()};
        }
        return kOk;
    });
    command->add_option("FOLDER", *folder, "Folder whose files become the members (Class/... for the lesson)")
        ->required();
    command->add_option("PACKAGE", *package, "Package file to write")->required();
}

void AddList(CLI::App& app) {
    auto package = std::make_shared<std::string>();
    auto* command = AddCommand(app, "list", "List the members: unpacked size, compressed size, name (tab-separated)", [=] {
        ov::ClassPackageFile file;
        OpenPackage(file, *package);
        ov::ClassPackageIndex index(file.Bytes());
        const bool sound = index.ReadAll();
        for (const auto& member : index.Members())
            std::cout << member.unpackedSize << '\t' << member.compressedSize << '\t' << ov::GbkToUtf8(member.name)
                      << '\n';
        if (!sound) throw CommandError{kFailed, *package + ": " + index.Error()};
        return kOk;
    });
    command->add_option("PACKAGE", *package, "Class package")->required();
}

void AddUnpack(CLI::App& app) {
    auto package = std::make_shared<std::string>();
    auto destination = std::make_shared<std::string>();
    auto* command = AddCommand(app, "unpack", "Unpack a class package; the members land in DEST/OV/...", [=] {
        ov::TClassZip unpacker;
        bool unpacked = false;
        std::string error;
        if (::isatty(STDERR_FILENO)) {
            TerminalBar bar;
            unpacked = unpacker.Unpack(*package, *destination, &bar, &error);
        } else {
            unpacked = unpacker.Unpack(*package, *destination, nullptr, &error);
        }
        if (!unpacked) throw CommandError{kFailed, *package + ": " + error};
        return kOk;
    });
    command->add_option("PACKAGE", *package, "Class package")->required();
    command->add_option("DEST", *destination, "Destination folder")->required();
}

}  // namespace

std::string WhyUnpackFailed(const std::string& package) {
    ov::ClassPackageFile file;
    OpenPackage(file, package);
    ov::ClassPackageIndex index(file.Bytes());
    if (!index.ReadAll()) return package + ": " + index.Error();
    return package + ": a member's compressed data is damaged or its file could not be written";
}

void AddPackageCommands(CLI::App& app) {
    AddPack(app);
    AddList(app);
    AddUnpack(app);
}

}  // namespace ovtool
