#include "ToolCommand.h"

#include "core/GbkText.h"

namespace ovtool {

std::string GbkArgument(const std::string& text) {
    auto gbk = ov::Utf8ToGbk(text);
    if (!gbk) throw CommandError{kBadArguments, "the text has characters that GBK cannot hold: " + text};
    return *gbk;
}

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
