#include "ToolCommand.h"

namespace ovtool {

int& ExitCode() {
    static int code = kOk;
    return code;
}

CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& description,
                     std::function<int()> body) {
    CLI::App* command = app.add_subcommand(name, description);
    command->callback([body = std::move(body)] { ExitCode() = body(); });
    return command;
}

}  // namespace ovtool
