// publish and source: courseware for a school's computers from one web server.
#include <QSettings>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "ToolCommand.h"
#include "net/CoursewareSource.h"
#include "net/SitePublisher.h"

namespace ovtool {
namespace {

// The player's own settings file; where it cannot be written, the one of
// every user (/etc/xdg) still shows through.
std::unique_ptr<QSettings> PlayerSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orvane"));
}

const QString kUrlKey = QString::fromUtf8(ov::kCoursewareUrlKey.data(), ov::kCoursewareUrlKey.size());

void AddPublishCommand(CLI::App& app) {
    auto source = std::make_shared<std::string>();
    auto site = std::make_shared<std::string>();
    auto* command = AddCommand(
        app, "publish",
        "Write a courseware set as a static web site with its manifest.json, for players to fetch lessons from; "
        "publishing again writes only what changed",
        [=] {
            try {
                const auto published = ov::PublishSite(*source, *site);
                std::cout << published.written << " written, " << published.unchanged << " unchanged, "
                          << published.removed << " removed in " << *site << '\n';
            } catch (const ov::EPublishError& e) {
                throw CommandError{kFailed, e.what()};
            }
            return kOk;
        });
    command->add_option("FOLDER", *source, "Folder holding the set: DB/RsDbList.db, Resources/, ENoises/, Images/")
        ->required()
        ->check(CLI::ExistingDirectory);
    command->add_option("OUT", *site, "Folder the web server serves")->required();
}

void AddSourceCommand(CLI::App& app) {
    auto url = std::make_shared<std::string>();
    // The subcommands exist only once their parent does.
    struct Subcommands {
        CLI::App* set = nullptr;
        CLI::App* clear = nullptr;
    };
    auto sub = std::make_shared<Subcommands>();
    auto* command = AddCommand(
        app, "source", "Show the courseware server this computer's player fetches lessons from", [sub, url] {
            auto settings = PlayerSettings();
            if (sub->set->parsed() || sub->clear->parsed()) {
                if (sub->set->parsed()) {
                    if (const auto why = ov::WhyNotCoursewareUrl(ov::ChooseCoursewareUrl(nullptr, *url)))
                        throw CommandError{kBadArguments, *why};
                    settings->setValue(kUrlKey, QString::fromStdString(ov::ChooseCoursewareUrl(nullptr, *url)));
                } else {
                    settings->remove(kUrlKey);
                }
                settings->sync();
                if (settings->status() != QSettings::NoError || !settings->isWritable())
                    throw CommandError{kFailed, "cannot write " + settings->fileName().toStdString()};
                return kOk;
            }
            const char* variable = std::getenv(ov::kCoursewareUrlVariable);
            const std::string chosen =
                ov::ChooseCoursewareUrl(variable, settings->value(kUrlKey).toString().toStdString());
            if (chosen.empty()) throw CommandError{kFailed, "no courseware server is set"};
            std::cout << chosen << '\n';
            if (variable && *variable) std::cerr << "(from " << ov::kCoursewareUrlVariable << ")\n";
            return kOk;
        });
    sub->set = command->add_subcommand("set", "Store the server's URL (http:// or https://) in the player's settings");
    sub->set->add_option("URL", *url, "The site's address, as published")->required();
    sub->clear = command->add_subcommand("clear", "Remove the stored URL: the player uses its own courseware only");
}

}  // namespace

void AddCoursewareServerCommands(CLI::App& app) {
    AddPublishCommand(app);
    AddSourceCommand(app);
}

}  // namespace ovtool
