// build: a whole courseware folder from one lesson source.
#include <QGuiApplication>

#include <iostream>
#include <memory>

#include "ToolCommand.h"
#include "lessonsource/CoursewareBuild.h"
#include "lessonsource/LessonSource.h"

namespace ovtool {

void AddBuildCommand(CLI::App& app) {
    auto source = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto voice = std::make_shared<std::string>("en-gb");
    auto* command = AddCommand(
        app, "build",
        "Build a courseware folder, as install-courseware takes it, from a lesson source (see docs/lesson-source.md)",
        [=] {
            // Pages are laid out with the fonts the player draws with; no screen is needed for that.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "ovtool";
            static char* argv[] = {name, nullptr};
            // Qt's notes about the missing screen session are no concern of a teacher's.
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << '\n';
            });
            QGuiApplication application(argc, argv);
            try {
                BuildCourseware(*source, *out, *voice);
            } catch (const SourceError& e) {
                std::cerr << *source << ':' << e.Place().line << ':' << e.Place().column << ": " << e.what() << '\n';
                return kFailed;
            }
            return kOk;
        });
    command->add_option("SOURCE", *source, "The lesson source (UTF-8 text)")->required()->check(CLI::ExistingFile);
    command->add_option("OUT_FOLDER", *out, "The courseware folder to write (an earlier build there is replaced)")
        ->required();
    command->add_option("--voice", *voice, "espeak-ng voice of the words and of roles the source gives no voice")
        ->capture_default_str();
}

}  // namespace ovtool
