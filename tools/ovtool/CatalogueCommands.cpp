// catalogue ..., words ...: the catalogue database and lesson word databases.
#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include "ToolCommand.h"
#include "core/GbkText.h"
#include "store/CatalogueLevels.h"
#include "store/CatalogueSql.h"
#include "store/ConnectionString.h"
#include "store/SqliteAuthoring.h"
#include "store/SqliteConnection.h"
#include "store/SqliteQuery.h"
#include "store/StoredSecrets.h"
#include "store/TsvFile.h"
#include "store/CipherAndFiles.h"
#include "store/WordTable.h"

namespace ovtool {
namespace {

// Which password a command uses: none (a plain database), one given, or the
// one this installation stores for that kind of database.
struct PasswordChoice {
    std::string text;
    bool stored = false;
    std::string_view storedCipher;
    std::string_view storedKey;

    void AddTo(CLI::App* command) {
        auto* given = command->add_option("--password", text,
                                          "Password; the database is then kept as an encrypted container");
        command->add_flag("--stored-password", stored, "Use this installation's password for this kind of database")
            ->excludes(given);
    }
    std::string Bytes() const {
        if (stored) return ov::DecipherString(storedCipher, storedKey);
        return GbkArgument(text);
    }
};

std::shared_ptr<PasswordChoice> CataloguePassword() {
    return std::make_shared<PasswordChoice>(PasswordChoice{{}, false, ov::kCatalogueDbPassword, ""});
}

std::shared_ptr<PasswordChoice> WordPassword() {
    return std::make_shared<PasswordChoice>(PasswordChoice{{}, false, ov::kWordDbPassword, ov::kDefaultCipherKey});
}

// Runs a command body, turning database and file failures into exit code 1.
template <typename Body>
int Guarded(Body body) {
    try {
        body();
    } catch (const ov::ESqliteError& e) {
        throw CommandError{kFailed, e.what()};
    } catch (const ov::EStreamError& e) {
        throw CommandError{kFailed, e.what()};
    }
    return kOk;
}

// The connection the player would make, in the player's own connection text.
void Connect(ov::SqliteConnection& connection, const std::string& file, const std::string& password) {
    connection.SetConnectionString(ov::FormatConnectionString(file, password));
    connection.Open();
}

int ImportCatalogue(ov::SqliteDatabase& db, const std::string& tsv) {
    int count = 0;
    for (const auto& row : ov::ReadTsvFile(tsv)) {
        if (row.fields.size() != 2)
            throw CommandError{kFailed, tsv + ":" + std::to_string(row.line) + ": expected CODE<tab>NAME"};
        ov::AddCatalogueEntry(db, row.fields[0], row.fields[1]);
        ++count;
    }
    return count;
}

// Prints `nodes` and, below each, the level under it.
void PrintLevel(ov::SqliteConnection* connection, const std::vector<ov::CatalogueNode>& nodes, int depth) {
    const auto layout = ov::MainCatalogueLayout();
    for (const auto& node : nodes) {
        std::cout << std::string(static_cast<size_t>(depth) * 2, ' ') << node.code << ' ' << node.name << '\n';
        PrintLevel(connection, ov::ReadChildren(connection, layout, node.code), depth + 1);
    }
}

void AddCatalogueCreate(CLI::App& group) {
    auto password = CataloguePassword();
    auto file = std::make_shared<std::string>();
    auto* command = AddCommand(group, "create", "Create an empty catalogue database", [=] {
        return Guarded([&] { ov::CreateDatabaseFile(*file, password->Bytes(), ov::CreateCatalogueTable); });
    });
    password->AddTo(command);
    command->add_option("DB", *file, "Catalogue database file to create")->required();
}

void AddCatalogueAdd(CLI::App& group) {
    auto password = CataloguePassword();
    auto file = std::make_shared<std::string>();
    auto code = std::make_shared<std::string>();
    auto name = std::make_shared<std::string>();
    auto* command = AddCommand(group, "add", "Add one catalogue entry", [=] {
        return Guarded([&] {
            ov::ChangeDatabaseFile(*file, password->Bytes(), [&](ov::SqliteDatabase& db) {
                ov::AddCatalogueEntry(db, *code, *name);
            });
        });
    });
    password->AddTo(command);
    command->add_option("DB", *file, "Catalogue database")->required();
    command->add_option("CODE", *code, "Code: the parent's code plus two letters or digits")->required();
    command->add_option("NAME", *name, "Name shown in the tree; a lesson's name also names its package")->required();
}

void AddCatalogueImport(CLI::App& group) {
    auto password = CataloguePassword();
    auto file = std::make_shared<std::string>();
    auto tsv = std::make_shared<std::string>();
    auto* command = AddCommand(group, "import", "Add the entries of a TSV file (CODE<tab>NAME per line)", [=] {
        return Guarded([&] {
            int count = 0;
            ov::ChangeDatabaseFile(*file, password->Bytes(),
                           [&](ov::SqliteDatabase& db) { count = ImportCatalogue(db, *tsv); });
            std::cout << count << " entries\n";
        });
    });
    password->AddTo(command);
    command->add_option("DB", *file, "Catalogue database")->required();
    command->add_option("FILE", *tsv, "TSV file; blank lines and lines starting with # are skipped")->required();
}

void AddCatalogueTree(CLI::App& group) {
    auto password = CataloguePassword();
    auto file = std::make_shared<std::string>();
    auto* command = AddCommand(group, "tree", "Print the whole tree, loaded level by level as the player does", [=] {
        return Guarded([&] {
            ov::SqliteConnection connection;
            Connect(connection, *file, password->Bytes());
            ov::SqliteQuery top(&connection);
            const auto layout = ov::MainCatalogueLayout();
            ov::OpenLevel(top, layout, "");
            PrintLevel(&connection, ov::ReadNodes(top, layout), 0);
        });
    });
    password->AddTo(command);
    command->add_option("DB", *file, "Catalogue database")->required();
}

void AddCataloguePattern(CLI::App& group) {
    auto code = std::make_shared<std::string>();
    auto levels = std::make_shared<std::string>(ov::kCatalogueLevels);
    auto* command = AddCommand(group, "pattern", "Print the LIKE pattern of the level below CODE", [=] {
        try {
            std::cout << ov::NextLevelPattern(*code, *levels) << '\n';
        } catch (const ov::EConvertError& e) {
            throw CommandError{kBadArguments, e.what()};
        }
        return kOk;
    });
    command->add_option("CODE", *code, "Code (may be empty: \"\")")->required();
    command->add_option("LEVELS", *levels, "Comma-separated level widths")->capture_default_str();
}

void AddWordsCreate(CLI::App& group) {
    auto password = WordPassword();
    auto file = std::make_shared<std::string>();
    auto tsv = std::make_shared<std::string>();
    auto* command = AddCommand(group, "create", "Create a lesson word database from a TSV file", [=] {
        return Guarded([&] {
            int count = 0;
            ov::CreateDatabaseFile(*file, password->Bytes(), [&](ov::SqliteDatabase& db) {
                ov::CreateWordTable(db);
                for (const auto& row : ov::ReadTsvFile(*tsv)) {
                    if (row.fields.size() > 4)
                        throw CommandError{kFailed, *tsv + ":" + std::to_string(row.line) + ": more than four fields"};
                    auto fields = row.fields;
                    fields.resize(4);
                    // Phonetic symbols are IPA, which GBK lacks and the database holds as it is;
                    // the word names its sound files and, like the rest, is courseware text.
                    for (const size_t text : {0, 2, 3})
                        if (!ov::Utf8ToGbk(fields[text]))
                            throw CommandError{kFailed, *tsv + ":" + std::to_string(row.line) +
                                                            ": text that GBK cannot hold: " + fields[text]};
                    ov::AddWord(db, fields[0], fields[1], fields[2], fields[3]);
                    ++count;
                }
            });
            std::cout << count << " words\n";
        });
    });
    password->AddTo(command);
    command->add_option("DB", *file, "Word database file to create (a lesson's is Class/words.db)")->required();
    command->add_option("FILE", *tsv, "TSV file: word<tab>symbol<tab>meaning<tab>example sentence per line")
        ->required();
}

void AddWordsList(CLI::App& group) {
    auto password = WordPassword();
    auto file = std::make_shared<std::string>();
    auto* command = AddCommand(group, "list", "Print the words in the order the word drill reads them", [=] {
        return Guarded([&] {
            ov::SqliteConnection connection;
            Connect(connection, *file, password->Bytes());
            ov::SqliteQuery words(&connection);
            words.SetSql(std::string(ov::kWordQuerySql));
            words.Open();
            for (; !words.Eof(); words.Next()) {
                const char* separator = "";
                for (std::string_view field : ov::kWordFields) {
                    std::cout << separator << ov::EscapeTsvField(words.FieldByName(field));
                    separator = "\t";
                }
                std::cout << '\n';
            }
        });
    });
    password->AddTo(command);
    command->add_option("DB", *file, "Word database")->required();
}

}  // namespace

void AddCatalogueCommands(CLI::App& app) {
    auto* catalogue = app.add_subcommand("catalogue", "Build and inspect the catalogue database");
    catalogue->require_subcommand(1);
    AddCatalogueCreate(*catalogue);
    AddCatalogueAdd(*catalogue);
    AddCatalogueImport(*catalogue);
    AddCatalogueTree(*catalogue);
    AddCataloguePattern(*catalogue);

    auto* words = app.add_subcommand("words", "Build and inspect lesson word databases");
    words->require_subcommand(1);
    AddWordsCreate(*words);
    AddWordsList(*words);
}

}  // namespace ovtool
