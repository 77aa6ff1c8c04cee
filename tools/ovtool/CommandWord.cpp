#include "CommandWord.h"

#include "ToolCommand.h"

#include <algorithm>
#include <string_view>

namespace ovtool {
namespace {

// Edits from one word to the other; a swap of two neighbours counts as one,
// the commonest slip of a typing hand.
std::size_t Edits(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

std::vector<std::string> CommandNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(command->get_name());
    std::sort(names.begin(), names.end());
    return names;
}

void PrintUsage(const std::vector<std::string>& names, std::ostream& err) {
    err << "usage: ovtool COMMAND [ARGUMENTS...]\ncommands:";
    for (const std::string& name : names) err << ' ' << name;
    err << "\n'ovtool --help' explains every command, 'ovtool COMMAND --help' one of them.\n";
}

}  // namespace

std::optional<std::string> ClosestCommand(const std::string& word, const std::vector<std::string>& names) {
    // Two slips in a long name, one in a short one: more, and "list" would
    // be offered for any four letters.
    const std::size_t allowed = word.size() > 4 ? 2 : 1;
    std::optional<std::string> closest;
    std::size_t best = allowed + 1;
    bool tie = false;
    for (const std::string& name : names) {
        const std::size_t edits = Edits(word, name);
        if (edits < best) {
            best = edits;
            closest = name;
            tie = false;
        } else if (edits == best) {
            tie = true;
        }
    }
    if (tie) return std::nullopt;
    return closest;
}

std::optional<int> RefuseCommandWord(const CLI::App& app, int argc, const char* const* argv, std::ostream& err) {
    const std::vector<std::string> names = CommandNames(app);
    if (argc < 2) {
        PrintUsage(names, err);
        return kBadArguments;
    }
    // The program's own options take no values, so the first word that is not
    // an option names the command.
    const auto* word = std::find_if(argv + 1, argv + argc, [](const char* arg) { return arg[0] != '-'; });
    if (word == argv + argc || std::binary_search(names.begin(), names.end(), std::string(*word))) return std::nullopt;
    err << "ovtool: unknown command '" << *word << "'\n";
    if (const auto meant = ClosestCommand(*word, names)) err << "did you mean '" << *meant << "'?\n";
    return kBadArguments;
}

}  // namespace ovtool
