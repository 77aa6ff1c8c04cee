#include "LessonSource.h"

#include <algorithm>
#include <functional>
#include <set>

#include "core/GbkText.h"

namespace ovtool {
namespace {

// A piece of a line with the column it starts at.
struct Field {
    std::string text;
    int column = 0;
};

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// Columns count characters: every byte but UTF-8's continuation bytes.
int ColumnOf(std::string_view line, size_t offset) {
    return 1 + static_cast<int>(std::count_if(line.begin(), line.begin() + static_cast<long>(offset),
                                              [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

Field Trimmed(std::string_view line, size_t begin, size_t end) {
    while (begin < end && IsSpace(line[begin])) ++begin;
    while (end > begin && IsSpace(line[end - 1])) --end;
    return {std::string(line.substr(begin, end - begin)), ColumnOf(line, begin)};
}

std::vector<Field> SplitFields(std::string_view line, char separator) {
    std::vector<Field> fields;
    size_t begin = 0;
    for (size_t at = line.find(separator); at != std::string_view::npos; at = line.find(separator, begin)) {
        fields.push_back(Trimmed(line, begin, at));
        begin = at + 1;
    }
    fields.push_back(Trimmed(line, begin, line.size()));
    return fields;
}

// "key = value", split at the first "="; nothing when there is none.
std::optional<std::pair<Field, Field>> KeyValue(std::string_view line) {
    const size_t at = line.find('=');
    if (at == std::string_view::npos) return std::nullopt;
    return std::pair{Trimmed(line, 0, at), Trimmed(line, at + 1, line.size())};
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    LessonSource Run() {
        size_t begin = 0;
        while (begin <= text_.size()) {
            size_t end = text_.find('\n', begin);
            if (end == std::string_view::npos) end = text_.size();
            line_ = text_.substr(begin, end - begin);
            if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
            ++number_;
            Line();
            begin = end + 1;
        }
        Finish();
        return std::move(source_);
    }

private:
    [[noreturn]] void Fail(int column, const std::string& message) const {
        throw SourceError({number_, column}, message);
    }
    SourcePlace Here(int column) const { return {number_, column}; }
    int EndColumn() const { return ColumnOf(line_, line_.size()); }

    void Line() {
        const Field whole = Trimmed(line_, 0, line_.size());
        if (whole.text.empty() || whole.text.front() == '#') return;
        if (whole.text.front() == '[') {
            Section(whole);
            return;
        }
        if (!item_) Fail(whole.column, "an item before any [section]");
        item_(whole);
    }

    void Section(const Field& header) {
        if (header.text.back() != ']') Fail(header.column, "a section header ends with ]");
        const std::string name = Trimmed(header.text, 1, header.text.size() - 1).text;
        const std::map<std::string, std::function<void(const Field&)>> sections{
            {"lesson", [this](const Field& f) { LessonKey(f); }},
            {"roles", [this](const Field& f) { Role(f); }},
            {"words", [this](const Field& f) { Word(f); }},
            {"dialogue", [this](const Field& f) { DialogueLine(f); }},
            {"dictation", [this](const Field& f) { source_.dictation.push_back(Text(f)); }},
            {"discrimination", [this](const Field& f) { source_.discrimination.push_back({Choices(f, 2)}); }},
            {"test", [this](const Field& f) { Question(f); }},
            {"arrangement", [this](const Field& f) { Arrangement(f); }},
            {"song", [this](const Field& f) { SongLine(f); }},
            {"animation", [this](const Field& f) { source_.animations.push_back(MoviePage(f)); }},
            {"games", [this](const Field& f) { source_.games.push_back(MoviePage(f)); }},
            {"scene sounds", [this](const Field& f) { SceneSound(f); }},
            {"files", [this](const Field& f) { ExtraFile(f); }},
        };
        const auto section = sections.find(name);
        if (section == sections.end()) Fail(header.column + 1, "unknown section [" + name + "]");
        if (!seen_.insert(name).second) Fail(header.column + 1, "a second [" + name + "] section");
        if (name == "lesson") lessonPlace_ = Here(header.column);
        item_ = section->second;
    }

    // The text as it goes into the courseware, which holds GBK.
    std::string Text(const Field& field) const {
        if (field.text.empty()) Fail(field.column, "missing field: an empty item");
        CheckGbk(field);
        return field.text;
    }

    void CheckGbk(const Field& field) const {
        if (ov::Utf8ToGbk(field.text)) return;
        size_t at = 0;
        int column = field.column;
        while (at < field.text.size()) {
            size_t next = at + 1;
            while (next < field.text.size() && (static_cast<unsigned char>(field.text[next]) & 0xC0) == 0x80) ++next;
            if (!ov::Utf8ToGbk(std::string_view(field.text).substr(at, next - at)))
                Fail(column, "GBK cannot hold \"" + field.text.substr(at, next - at) + "\"");
            at = next;
            ++column;
        }
        Fail(field.column, "GBK cannot hold this text");
    }

    std::pair<Field, Field> Setting(const Field& line) const {
        const auto pair = KeyValue(line.text);
        if (!pair) Fail(line.column, "expected NAME = VALUE");
        auto [key, value] = *pair;
        key.column += line.column - 1;
        value.column += line.column - 1;
        if (key.text.empty()) Fail(key.column, "missing field: the name before =");
        if (value.text.empty()) Fail(value.column, "missing field: the value after " + key.text + " =");
        return {key, value};
    }

    SourceFile FileAt(const Field& field) const { return {field.text, Here(field.column)}; }

    // Fields of an item: the plain ones first, then "sound: FILE"-like options
    // of the kinds `options` allows.
    std::vector<Field> Fields(const Field& line, const std::map<std::string, SourceFile*>& options) const {
        std::vector<Field> plain;
        for (Field field : SplitFields(line.text, '|')) {
            field.column += line.column - 1;
            const size_t colon = field.text.find(':');
            const auto option = colon == std::string::npos ? options.end() : options.find(field.text.substr(0, colon));
            if (option == options.end()) {
                plain.push_back(field);
                continue;
            }
            const Field value = Trimmed(field.text, colon + 1, field.text.size());
            if (value.text.empty()) Fail(field.column, "missing field: the file after " + option->first + ":");
            *option->second = {value.text, Here(field.column + value.column - 1)};
        }
        return plain;
    }

    Field Required(const std::vector<Field>& fields, size_t index, const char* what) const {
        if (index >= fields.size() || fields[index].text.empty())
            Fail(index < fields.size() ? fields[index].column : EndColumn(), std::string("missing field: ") + what);
        return fields[index];
    }

    void LessonKey(const Field& line) {
        const auto [key, value] = Setting(line);
        static const std::map<std::string, int> levels{{"textbook", 0}, {"grade", 1}, {"unit", 2}};
        if (key.text == "name") {
            source_.name = Text(value);
            source_.catalogue[3].name = source_.name;
        } else if (key.text == "code") {
            source_.catalogue[3].code = value.text;
            source_.catalogue[3].place = Here(value.column);
        } else if (const auto level = levels.find(key.text); level != levels.end()) {
            const size_t space = value.text.find(' ');
            if (space == std::string::npos)
                Fail(EndColumn(), "missing field: the " + key.text + "'s name after its code");
            Field name = Trimmed(value.text, space, value.text.size());
            name.column += value.column - 1;
            source_.catalogue[level->second] = {value.text.substr(0, space), Text(name), Here(value.column)};
        } else {
            Fail(key.column, "unknown key " + key.text + " in [lesson]");
        }
    }

    void Role(const Field& line) {
        const auto [role, voice] = Setting(line);
        source_.voices[Text(role)] = voice.text;
    }

    void Word(const Field& line) {
        SourceWord word;
        const auto fields = Fields(line, {{"sound", &word.sound}, {"picture", &word.picture}});
        const Field text = Required(fields, 0, "the word");
        word.word = Text(text);
        // The word names its sound and card files.
        if (word.word.find_first_of("/\\") != std::string::npos)
            Fail(text.column + static_cast<int>(word.word.find_first_of("/\\")), "a word cannot hold / or \\");
        word.symbol = Required(fields, 1, "the phonetic symbol").text;
        word.meaning = Text(Required(fields, 2, "the meaning"));
        if (fields.size() > 3 && !fields[3].text.empty()) {
            word.example = Text(fields[3]);
            for (size_t at; (at = word.example.find("\\n")) != std::string::npos;) word.example.replace(at, 2, "\n");
        }
        if (fields.size() > 4) Fail(fields[4].column, "a word has four fields and sound: or picture:");
        const auto [previous, added] = wordLines_.emplace(word.word, number_);
        if (!added)
            Fail(text.column,
                 "duplicate word " + word.word + " (first on line " + std::to_string(previous->second) + ")");
        source_.words.push_back(std::move(word));
    }

    void DialogueLine(const Field& line) {
        if (const auto pair = KeyValue(line.text); pair && pair->first.text == "picture") {
            source_.scene = FileAt(Setting(line).second);
            return;
        }
        SourceLine spoken;
        const auto fields = Fields(line, {{"sound", &spoken.sound}});
        const size_t colon = fields[0].text.find(':');
        if (colon == std::string::npos) Fail(fields[0].column, "missing field: the role before \":\"");
        Field role = Trimmed(fields[0].text, 0, colon);
        Field text = Trimmed(fields[0].text, colon + 1, fields[0].text.size());
        role.column += fields[0].column - 1;
        text.column += fields[0].column - 1;
        if (role.text.empty()) Fail(role.column, "missing field: the role before \":\"");
        if (text.text.empty()) Fail(EndColumn(), "missing field: the sentence after \"" + role.text + ":\"");
        spoken.role = Text(role);
        spoken.text = Text(text);
        source_.dialogue.push_back(std::move(spoken));
    }

    std::vector<std::string> Choices(const Field& line, size_t least) const {
        std::vector<std::string> words;
        for (Field field : SplitFields(line.text, '|')) {
            field.column += line.column - 1;
            words.push_back(Text(field));
        }
        if (words.size() < least) Fail(EndColumn(), "missing field: a choice needs another word after |");
        return words;
    }

    void Question(const Field& line) {
        auto words = Choices(line, 1);
        source_.test.push_back({words.size() == 1, std::move(words)});
    }

    void Arrangement(const Field& line) {
        if (line.text.find(' ') == std::string::npos) Fail(EndColumn(), "missing field: a sentence needs two words");
        source_.arrangement.push_back(Text(line));
    }

    void SongLine(const Field& line) {
        if (const auto pair = KeyValue(line.text);
            pair && (pair->first.text == "title" || pair->first.text == "movie")) {
            const auto [key, value] = Setting(line);
            if (key.text == "title")
                source_.songTitle = Text(value);
            else
                source_.songMovie = FileAt(value);
            return;
        }
        SourceSungLine sung;
        const auto fields = Fields(line, {{"sound", &sung.sound}});
        sung.text = Text(Required(fields, 0, "the sung line"));
        source_.song.push_back(std::move(sung));
    }

    SourceMoviePage MoviePage(const Field& line) const {
        SourceMoviePage page;
        const auto fields = Fields(line, {{"movie", &page.movie}, {"page", &page.page}});
        if (!fields.empty() && !fields[0].text.empty()) page.title = Text(fields[0]);
        if (!page.movie.Given() && !page.page.Given()) Fail(EndColumn(), "missing field: movie: or page:");
        if (page.movie.Given() && page.title.empty()) Fail(line.column, "missing field: the title before movie:");
        return page;
    }

    void SceneSound(const Field& line) {
        const auto [name, file] = Setting(line);
        source_.sceneSounds[FileName(name)] = FileAt(file);
    }

    // A name that becomes a file of the lesson: one folder level after
    // another, never out of the lesson's folder.
    std::string FileName(const Field& field) const {
        const std::string name = Text(field);
        const bool outside = name.front() == '/' || name.front() == '\\' || name.find("..") != std::string::npos;
        if (outside) Fail(field.column, name + " would lie outside the lesson");
        return name;
    }

    void ExtraFile(const Field& line) {
        const auto [target, file] = Setting(line);
        source_.files.push_back({FileName(target), FileAt(file)});
    }

    void Finish() {
        if (lessonPlace_.line == 0) throw SourceError({1, 1}, "missing field: the source has no [lesson] section");
        const auto missing = [this](const char* what) {
            throw SourceError(lessonPlace_, std::string("missing field: [lesson] has no ") + what);
        };
        if (source_.name.empty()) missing("name =");
        static const char* const kLevels[] = {"textbook =", "grade =", "unit =", "code ="};
        for (size_t level = 0; level < 4; ++level)
            if (source_.catalogue[level].code.empty()) missing(kLevels[level]);
        CheckCodes();
        if (!source_.song.empty() && source_.songTitle.empty())
            throw SourceError(lessonPlace_, "missing field: [song] has no title =");
    }

    // Each level's code is its parent's and two more letters or digits: the
    // tree finds children by that, so any other code hangs elsewhere or nowhere.
    void CheckCodes() const {
        static const char* const kNames[] = {"textbook", "grade", "unit", "lesson"};
        std::string parent;
        for (size_t level = 0; level < 4; ++level) {
            const CatalogueLevel& entry = source_.catalogue[level];
            const bool plain = std::all_of(entry.code.begin(), entry.code.end(),
                                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
            if (!plain || entry.code.size() != parent.size() + 2 || !entry.code.starts_with(parent)) {
                throw SourceError(entry.place, std::string("catalogue code ") + entry.code + " of the " +
                                                   kNames[level] + " clashes with " +
                                                   (level == 0 ? std::string("the two letters or digits a textbook has")
                                                               : "its " + std::string(kNames[level - 1]) + "'s " +
                                                                     parent + " and two more letters or digits"));
            }
            parent = entry.code;
        }
    }

    std::string_view text_;
    std::string_view line_;
    int number_ = 0;
    std::function<void(const Field&)> item_;
    std::set<std::string> seen_;
    SourcePlace lessonPlace_;
    std::map<std::string, int> wordLines_;
    LessonSource source_;
};

}  // namespace

std::vector<std::string> LessonSource::Roles() const {
    std::vector<std::string> roles;
    for (const auto& line : dialogue)
        if (std::find(roles.begin(), roles.end(), line.role) == roles.end()) roles.push_back(line.role);
    return roles;
}

std::vector<std::pair<const SourceFile*, bool>> LessonSource::NamedFiles() const {
    std::vector<std::pair<const SourceFile*, bool>> named;
    const auto add = [&](const SourceFile& file, bool recording) {
        if (file.Given()) named.emplace_back(&file, recording);
    };
    for (const auto& word : words) {
        add(word.sound, true);
        add(word.picture, false);
    }
    add(scene, false);
    for (const auto& line : dialogue) add(line.sound, true);
    add(songMovie, false);
    for (const auto& line : song) add(line.sound, true);
    for (const auto* pages : {&animations, &games})
        for (const auto& page : *pages) {
            add(page.movie, false);
            add(page.page, false);
        }
    for (const auto& entry : sceneSounds) add(entry.second, true);
    for (const auto& file : files) add(file.file, false);
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
        return std::pair(a.first->place.line, a.first->place.column) <
               std::pair(b.first->place.line, b.first->place.column);
    });
    return named;
}

LessonSource ParseLessonSource(std::string_view text) { return Parser(text).Run(); }

}  // namespace ovtool
