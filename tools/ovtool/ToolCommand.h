#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace ovtool {

// Exit codes of every command: 0 success, 1 the operation reported failure,
// 2 bad arguments.
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

// A failure the command wants reported as "ovtool: <message>" with an exit code.
struct CommandError {
    int code;
    std::string message;
};

// Adds a subcommand whose body runs once the command line parsed; the body's
// result is the program's exit code.
CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& description,
                     std::function<int()> body);

// A text argument as the GBK bytes courseware holds; bad arguments when GBK
// cannot hold it.
std::string GbkArgument(const std::string& text);

// Why TClassZip::Unpack gave up on a package, for the author.
std::string WhyUnpackFailed(const std::string& package);

// Where the chosen command left its exit code.
int& ExitCode();

// Each group of commands registers itself here.
void AddCipherCommands(CLI::App& app);
void AddPackageCommands(CLI::App& app);
void AddCatalogueCommands(CLI::App& app);
void AddLessonCommands(CLI::App& app);
void AddAudioCommands(CLI::App& app);
void AddRecordCommands(CLI::App& app);
void AddCheckCommand(CLI::App& app);
void AddScriptCommands(CLI::App& app);
void AddInstallCommand(CLI::App& app);
void AddSwfCommands(CLI::App& app);
void AddBuildCommand(CLI::App& app);
void AddCoursewareServerCommands(CLI::App& app);
void AddProgressCommand(CLI::App& app);
void AddFeedbackCommand(CLI::App& app);

}  // namespace ovtool
