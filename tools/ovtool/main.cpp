#include <exception>
#include <iostream>

#include "CommandWord.h"
#include "ToolCommand.h"
#include "core/MessageHook.h"

int main(int argc, char** argv) {
    CLI::App app{"ovtool: make, check and repair courseware for the ovplayer courseware player"};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Print help for every command");
    ovtool::AddCipherCommands(app);
    ovtool::AddPackageCommands(app);
    ovtool::AddCatalogueCommands(app);
    ovtool::AddLessonCommands(app);
    ovtool::AddAudioCommands(app);
    ovtool::AddRecordCommands(app);
    ovtool::AddCheckCommand(app);
    ovtool::AddScriptCommands(app);
    ovtool::AddInstallCommand(app);
    ovtool::AddSwfCommands(app);
    ovtool::AddBuildCommand(app);
    ovtool::AddCoursewareServerCommands(app);
    ovtool::AddProgressCommand(app);
    ovtool::AddFeedbackCommand(app);

    // What the player would show the pupil goes to stderr, one line each.
    ov::SetMessageHandler([](const ov::Message& m) {
        std::cerr << m.caption << ": " << m.text << '\n';
        return 1;
    });

    if (const auto refused = ovtool::RefuseCommandWord(app, argc, argv, std::cerr)) return *refused;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return ovtool::kBadArguments;
    } catch (const ovtool::CommandError& e) {
        std::cerr << "ovtool: " << e.message << '\n';
        return e.code;
    } catch (const std::exception& e) {
        std::cerr << "ovtool: " << e.what() << '\n';
        return ovtool::kFailed;
    }
    return ovtool::ExitCode();
}
