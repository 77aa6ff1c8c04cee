// script: a play script expanded into the play list the player would run.
#include <iostream>
#include <nlohmann/json.hpp>

#include "ToolCommand.h"
#include "core/GbkText.h"
#include "lesson/PlayScript.h"
#include "store/CipherAndFiles.h"

namespace ovtool {
namespace {

nlohmann::ordered_json EntryJson(const ov::TScriptEntry& entry) {
    return {{"Kind", entry.Kind}, {"Param", entry.Param}, {"SentenceId", entry.SentenceId}, {"Count", entry.Count}};
}

void AddScript(CLI::App& app) {
    auto text = std::make_shared<std::string>();
    auto* command = AddCommand(app, "script", "Print the play list a play script expands into, as JSON", [=] {
        // Parsed as the GBK bytes a lesson holds: a GBK trail byte can be "[" or "]".
        std::string gbk = GbkArgument(*text);
        std::vector<ov::TScriptEntry> list;
        try {
            ov::ParsePlayScript(gbk, list);
        } catch (const ov::EConvertError& e) {
            throw CommandError{kFailed, ov::GbkToUtf8(e.what())};
        }
        auto out = nlohmann::ordered_json::array();
        for (const auto& entry : list) out.push_back(EntryJson(entry));
        std::cout << out.dump() << '\n';
        return kOk;
    });
    command->add_option("TEXT", *text, "Play script, groups \"[t,a,b,c]\" back to back")->required();
}

}  // namespace

void AddScriptCommands(CLI::App& app) { AddScript(app); }

}  // namespace ovtool
