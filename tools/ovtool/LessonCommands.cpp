// pages, neighbour, new-index, set-pages: function indexes; doc, new-lesson: lesson documents.
#include <charconv>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "ToolCommand.h"
#include "core/CoursewarePath.h"
#include "core/MessageHook.h"
#include "lesson/LessonFolderDocuments.h"

namespace ov {

// Records print with the field names the player uses, in declaration order.
#define OV_RECORD_TO_JSON(Type, ...)                                                          \
    inline void to_json(nlohmann::ordered_json& nlohmann_json_j, const Type& nlohmann_json_t) { \
        NLOHMANN_JSON_EXPAND(NLOHMANN_JSON_PASTE(NLOHMANN_JSON_TO, __VA_ARGS__))                \
    }

OV_RECORD_TO_JSON(TRule, Kind, Id, Role, Text)
OV_RECORD_TO_JSON(TTest, TestStyle, ControlStyle, ControlId, ImageId, Answer)
OV_RECORD_TO_JSON(TRSentence, Id, SentenceId, Text, Audio, CanMove, Visible, GrabX, Color)
OV_RECORD_TO_JSON(TXMLFont, Size, Name, Color)
OV_RECORD_TO_JSON(TXMLSentence, Sentence, Top, Left, Font)
OV_RECORD_TO_JSON(TXMLSentences, Id, Audio, Font, RuleStyle, RuleId, Words)
OV_RECORD_TO_JSON(TRImage, Id, Key, Group, Name, Visible, RuleId, Selected)
OV_RECORD_TO_JSON(TXMLImage, Image, Top, Left, Width, Height)
OV_RECORD_TO_JSON(TXMLButton, Id, Top, Left, Width, Height, Caption, RuleId)
OV_RECORD_TO_JSON(TXMLEdit, Id, Top, Left, Width, Height, Caption, RuleId)
OV_RECORD_TO_JSON(TXMLVideo, Id, Top, Left, Width, Height, Movie)
OV_RECORD_TO_JSON(TXMLFlash, Id, Top, Left, Width, Height, Movie)
OV_RECORD_TO_JSON(TXMLFrame, Id, Top, Left, Height, Width)
OV_RECORD_TO_JSON(TTmpLabel, Text, Top, Left, Font)
#undef OV_RECORD_TO_JSON

inline void to_json(nlohmann::ordered_json& j, const TPageItem& item) {
    j["Kind"] = item.Kind;
    std::visit([&](const auto& data) { j["Data"] = data; }, item.Data);
}

}  // namespace ov

namespace ovtool {
namespace {

// Objects keep their fields in declaration order.
using json = nlohmann::ordered_json;
using Args = std::vector<std::string>;

// Collects what an operation shows the pupil while still printing it, so a
// command can tell a reported failure from success.
class ShownMessages {
public:
    ShownMessages() {
        previous_ = ov::SetMessageHandler([this](const ov::Message& m) {
            messages_.push_back(m);
            return previous_ ? previous_(m) : 1;
        });
    }
    ~ShownMessages() { ov::SetMessageHandler(previous_); }
    ShownMessages(const ShownMessages&) = delete;
    ShownMessages& operator=(const ShownMessages&) = delete;

    const std::vector<ov::Message>& List() const { return messages_; }
    int ExitCode() const { return messages_.empty() ? kOk : kFailed; }

private:
    ov::MessageHandler previous_;
    std::vector<ov::Message> messages_;
};

int32_t Number(const std::string& text) {
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        throw CommandError{kBadArguments, "not a decimal number: " + text};
    return value;
}

ov::TOVRule Kind(const std::string& text) {
    const int32_t kind = Number(text);
    if (kind < 0 || kind > 255) throw CommandError{kBadArguments, "a kind is 0 to 255: " + text};
    return static_cast<ov::TOVRule>(kind);
}

std::vector<std::string> IdList(const std::string& text) {
    std::vector<std::string> ids;
    if (text.empty()) return ids;
    size_t start = 0;
    for (size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', start)) {
        ids.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    ids.push_back(text.substr(start));
    return ids;
}

template <typename T>
json OrNull(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

struct Answer {
    json result;
    json output;
};
Answer Result(json result) { return {std::move(result), nullptr}; }
Answer Output(json output) { return {nullptr, std::move(output)}; }

struct Operation {
    const char* arguments;  // names, in the operation's own order, without its output
    std::function<Answer(ov::LessonDocument&, const Args&)> run;
};

// Each operation with a default-constructed output, as the player passes them.
const std::map<std::string, Operation>& Operations() {
    using ov::LessonDocument;
    static const std::map<std::string, Operation> operations{
        {"GetPageItems", {"", [](LessonDocument& d, const Args&) { return Result(d.GetPageItems()); }}},
        {"HasRules", {"", [](LessonDocument& d, const Args&) { return Result(d.HasRules()); }}},
        {"FindRule", {"KIND CONTROL-KIND ELEMENT-ID", [](LessonDocument& d, const Args& a) {
             ov::TRule rule;
             d.FindRule(Kind(a[0]), Kind(a[1]), Number(a[2]), rule);
             return Output(rule);
         }}},
        {"GetRule", {"KIND ID", [](LessonDocument& d, const Args& a) {
             ov::TRule rule;
             d.GetRule(Kind(a[0]), Number(a[1]), rule);
             return Output(rule);
         }}},
        {"GetRoles", {"", [](LessonDocument& d, const Args&) { return Result(OrNull(d.GetRoles())); }}},
        {"GetRoleRule", {"ROLE", [](LessonDocument& d, const Args& a) {
             ov::TRule rule;
             d.GetRoleRule(a[0], rule);
             return Output(rule);
         }}},
        {"GetPoolRuleId", {"CONTROL-KIND ELEMENT-ID", [](LessonDocument& d, const Args& a) {
             return Result(d.GetPoolRuleId(Kind(a[0]), Number(a[1])));
         }}},
        {"GetImage", {"PICTURE-ID", [](LessonDocument& d, const Args& a) {
             ov::TXMLImage image;
             d.GetImage(Number(a[0]), image);
             return Output(image);
         }}},
        {"IsChoicePicture", {"PICTURE-ID", [](LessonDocument& d, const Args& a) { return Result(d.IsChoicePicture(Number(a[0]))); }}},
        {"GetChoiceWord", {"PICTURE-ID", [](LessonDocument& d, const Args& a) {
             std::string word;
             d.GetChoiceWord(Number(a[0]), word);
             return Output(word);
         }}},
        {"FindKeyPicture", {"GROUP KEY", [](LessonDocument& d, const Args& a) { return Result(d.FindKeyPicture(Number(a[0]), a[1])); }}},
        {"GetSentenceAudio", {"SENTENCE-ID", [](LessonDocument& d, const Args& a) {
             std::string audio;
             d.GetSentenceAudio(Number(a[0]), audio);
             return Output(audio);
         }}},
        {"GetSentenceRecord", {"SENTENCE-ID", [](LessonDocument& d, const Args& a) {
             ov::TXMLSentences sentence;
             d.GetSentenceRecord(Number(a[0]), sentence);
             return Output(sentence);
         }}},
        {"GetItemTests", {"ITEM-ID KIND", [](LessonDocument& d, const Args& a) { return Result(d.GetItemTests(Number(a[0]), Kind(a[1]))); }}},
        {"GetTestItemTests", {"ITEM-ID", [](LessonDocument& d, const Args& a) { return Result(d.GetTestItemTests(Number(a[0]))); }}},
        {"GetItemAudio", {"ITEM-ID KIND", [](LessonDocument& d, const Args& a) {
             std::string audio;
             d.GetItemAudio(Number(a[0]), Kind(a[1]), audio);
             return Output(audio);
         }}},
        {"GetNeighbourItem", {"DIRECTION CURRENT-ID KIND", [](LessonDocument& d, const Args& a) {
             return Result(d.GetNeighbourItem(Number(a[0]), Number(a[1]), Kind(a[2])));
         }}},
        {"GetItemRange", {"KIND", [](LessonDocument& d, const Args& a) {
             std::pair<int32_t, int32_t> range;
             d.GetItemRange(Kind(a[0]), range);
             return Output(range);
         }}},
        {"GetEditAnswer.dictation", {"CONTROL-STYLE EDIT-ID KIND", [](LessonDocument& d, const Args& a) {
             std::string answer;
             d.GetEditAnswer(Kind(a[0]), Number(a[1]), answer, Kind(a[2]));
             return Output(answer);
         }}},
        {"GetEditAnswer.choice", {"KIND CONTROL-STYLE EDIT-ID", [](LessonDocument& d, const Args& a) {
             std::string answer;
             d.GetEditAnswer(Kind(a[0]), Kind(a[1]), answer, Number(a[2]));
             return Output(answer);
         }}},
        {"GetResultMark.dictation", {"EDIT-ID KIND", [](LessonDocument& d, const Args& a) {
             ov::TXMLImage mark;
             d.GetResultMark(Number(a[0]), Kind(a[1]), mark);
             return Output(mark);
         }}},
        {"GetResultMark.choice", {"KIND EDIT-ID", [](LessonDocument& d, const Args& a) {
             ov::TXMLImage mark;
             d.GetResultMark(Kind(a[0]), Number(a[1]), mark);
             return Output(mark);
         }}},
        {"GetGroupEdit", {"KIND ITEM-ID", [](LessonDocument& d, const Args& a) { return Result(d.GetGroupEdit(Kind(a[0]), Number(a[1]))); }}},
        {"GetEditGroup", {"KIND EDIT-ID", [](LessonDocument& d, const Args& a) { return Result(d.GetEditGroup(Kind(a[0]), Number(a[1]))); }}},
        {"GetGame", {"GAME-ID", [](LessonDocument& d, const Args& a) {
             ov::TXMLFlash game;
             d.GetGame(Number(a[0]), game);
             return Output(game);
         }}},
        {"GetSentenceIds", {"KIND", [](LessonDocument& d, const Args& a) { return Result(d.GetSentenceIds(Kind(a[0]))); }}},
        {"GetSentenceGroup", {"KIND ARRANGEMENT-ID", [](LessonDocument& d, const Args& a) {
             return Result(d.GetSentenceGroup(Kind(a[0]), Number(a[1])));
         }}},
        {"GetSentenceWords", {"ARRANGEMENT-ID KIND", [](LessonDocument& d, const Args& a) {
             return Result(OrNull(d.GetSentenceWords(Number(a[0]), Kind(a[1]))));
         }}},
        {"GetSentenceAnswer", {"ARRANGEMENT-ID KIND", [](LessonDocument& d, const Args& a) {
             std::string answer;
             d.GetSentenceAnswer(Number(a[0]), Kind(a[1]), answer);
             return Output(answer);
         }}},
        {"GetSentenceMark", {"ARRANGEMENT-ID KIND", [](LessonDocument& d, const Args& a) {
             ov::TXMLImage mark;
             d.GetSentenceMark(Number(a[0]), Kind(a[1]), mark);
             return Output(mark);
         }}},
        {"ComposeSentence", {"ARRANGEMENT-ID KIND WORD-IDS", [](LessonDocument& d, const Args& a) {
             std::string sentence;
             d.ComposeSentence(Number(a[0]), Kind(a[1]), sentence, IdList(a[2]));
             return Output(sentence);
         }}},
        {"GetAnswerLabel", {"POSITION KIND", [](LessonDocument& d, const Args& a) {
             ov::TTmpLabel label;
             d.GetAnswerLabel(Number(a[0]), Kind(a[1]), label);
             return Output(label);
         }}},
        {"GetAnswerFont", {"ARRANGEMENT-ID KIND", [](LessonDocument& d, const Args& a) {
             ov::TXMLFont font;
             d.GetAnswerFont(Number(a[0]), Kind(a[1]), font);
             return Output(font);
         }}},
    };
    return operations;
}

size_t WordCount(const std::string& text) {
    size_t words = 0;
    bool inWord = false;
    for (char c : text) {
        if (c != ' ' && !inWord) ++words;
        inWord = c != ' ';
    }
    return words;
}

std::string OperationList() {
    std::string list = "Operations (ARGs in this order; kinds and ids are decimal, WORD-IDS comma-separated):\n";
    for (const auto& [name, operation] : Operations()) list += "  " + name + " " + operation.arguments + "\n";
    return list;
}

std::pair<std::filesystem::path, std::string> FolderAndName(const std::string& file) {
    const std::filesystem::path path(file);
    const auto folder = path.parent_path();
    return {folder.empty() ? std::filesystem::path(".") : folder, path.filename().string()};
}

void RefuseToOverwrite(const std::filesystem::path& file, bool force) {
    if (!force && std::filesystem::exists(file))
        throw CommandError{kFailed, file.string() + " exists; --force overwrites it"};
}

const char* const kIndexName = "OVFunction.ind";

void AddPages(CLI::App& app) {
    auto folder = std::make_shared<std::string>();
    auto kind = std::make_shared<std::string>();
    auto* command = AddCommand(app, "pages", "Print the page list of function KIND in FOLDER/OVFunction.ind", [=] {
        ov::FunctionIndexFile index(*folder, kIndexName, false);
        const auto pages = index.GetPageList(Kind(*kind));
        if (!pages) return kFailed;
        for (const auto& page : *pages) std::cout << page << '\n';
        return kOk;
    });
    command->add_option("FOLDER", *folder, "Lesson folder")->required();
    command->add_option("KIND", *kind, "Function kind, 0 to 26")->required();
}

void AddNeighbour(CLI::App& app) {
    auto folder = std::make_shared<std::string>();
    auto kind = std::make_shared<std::string>();
    auto current = std::make_shared<std::string>();
    auto direction = std::make_shared<int>(0);
    auto* command = AddCommand(app, "neighbour", "Print the page beside CURRENT in function KIND's page list", [=] {
        ShownMessages shown;
        ov::FunctionIndexFile index(*folder, kIndexName, false);
        std::string output;
        index.GetNeighbourPage(Kind(*kind), *current, output, static_cast<ov::TNeighbour>(*direction));
        std::cout << output << '\n';
        return shown.ExitCode();
    });
    command->add_option("FOLDER", *folder, "Lesson folder")->required();
    command->add_option("KIND", *kind, "Function kind, 0 to 26")->required();
    command->add_option("CURRENT", *current, "Current page file name (compared exactly)")->required();
    command->add_option("DIRECTION", *direction, "0 first, 1 previous, 2 next, 3 last")->required()->check(CLI::Range(0, 3));
}

void AddNewIndex(CLI::App& app) {
    auto folder = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    auto* command = AddCommand(app, "new-index", "Write an empty function index FOLDER/OVFunction.ind", [=] {
        RefuseToOverwrite(ov::ResolveCoursewarePath(*folder, kIndexName), *force);
        ShownMessages shown;
        ov::FunctionIndexFile index(*folder, kIndexName, true);
        return shown.ExitCode();
    });
    command->add_option("FOLDER", *folder, "Lesson folder (created when its parent exists)")->required();
    command->add_flag("--force", *force, "Overwrite an existing index");
}

void AddSetPages(CLI::App& app) {
    auto folder = std::make_shared<std::string>();
    auto kind = std::make_shared<std::string>();
    auto pages = std::make_shared<std::vector<std::string>>();
    auto* command = AddCommand(app, "set-pages", "Set the page list of function KIND in FOLDER/OVFunction.ind", [=] {
        std::string list;
        for (size_t i = 0; i < pages->size(); ++i) list += (i == 0 ? "" : "|") + (*pages)[i];
        ov::FunctionIndexFile index(*folder, kIndexName, false);
        if (!index.SetPageList(Kind(*kind), list)) return kFailed;
        try {
            index.Save();
        } catch (const ov::eError& e) {
            throw CommandError{kFailed, e.what()};
        }
        return kOk;
    });
    command->add_option("FOLDER", *folder, "Lesson folder")->required();
    command->add_option("KIND", *kind, "Function kind, 0 to 26")->required();
    command->add_option("LIST", *pages, "Page file names in page order (joined with \"|\"); \"\" empties the list")
        ->required();
}

void AddNewLesson(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    auto* command = AddCommand(app, "new-lesson", "Write an empty lesson document FILE", [=] {
        const auto [folder, name] = FolderAndName(*file);
        RefuseToOverwrite(ov::ResolveCoursewarePath(folder, name), *force);
        ShownMessages shown;
        ov::LessonDocument lesson(folder, name, true);
        return shown.ExitCode();
    });
    command->add_option("FILE", *file, "Lesson document to write (its folder is created when its parent exists)")->required();
    command->add_flag("--force", *force, "Overwrite an existing file");
}

void AddDoc(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    auto name = std::make_shared<std::string>();
    auto args = std::make_shared<Args>();
    auto* command = AddCommand(app, "doc", "Run one lesson-document operation on FILE and print it as JSON", [=] {
        const auto found = Operations().find(*name);
        if (found == Operations().end()) throw CommandError{kBadArguments, "no operation " + *name + "\n" + OperationList()};
        const Operation& operation = found->second;
        if (args->size() != WordCount(operation.arguments))
            throw CommandError{kBadArguments, "usage: doc FILE " + *name + " " + operation.arguments};
        ShownMessages shown;
        const auto [folder, fileName] = FolderAndName(*file);
        ov::LessonDocument lesson(folder, fileName, false);
        const Answer answer = operation.run(lesson, *args);
        json messages = json::array();
        for (const auto& m : shown.List()) messages.push_back({{"caption", m.caption}, {"text", m.text}});
        const json printed{{"result", answer.result}, {"output", answer.output}, {"messages", messages}};
        std::cout << printed.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
        return shown.ExitCode();
    });
    command->add_option("FILE", *file, "Lesson document (opened as the player opens a page)")->required();
    command->add_option("OPERATION", *name, "Operation name, see below")->required();
    command->add_option("ARG", *args, "The operation's arguments");
    command->footer(OperationList());
}

}  // namespace

void AddLessonCommands(CLI::App& app) {
    AddPages(app);
    AddNeighbour(app);
    AddNewIndex(app);
    AddSetPages(app);
    AddNewLesson(app);
    AddDoc(app);
}

}  // namespace ovtool
