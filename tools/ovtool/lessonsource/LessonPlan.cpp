#include "LessonPlan.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "PageWriter.h"

namespace ovtool {
namespace {

constexpr int kNavy = 8388608, kGreen = 32768, kPurple = 8388736;
constexpr int kCard = 100;
constexpr int kMark = 32;
constexpr int kEditHeight = 32;
// How many items a page holds: what fits on it.
constexpr int kWordsPerColumn = 6;
constexpr size_t kWordsPerPage = 2 * kWordsPerColumn, kDictationPerPage = 6, kChoicesPerPage = 3;
constexpr int kWordSpeed = 130, kLineSpeed = 120, kSungSpeed = 105;
// The voices of roles the source gives none, in the order the roles first speak.
constexpr const char* kRoleVariants[] = {"f3", "m3", "f2", "m1", "f4", "m2"};

const PageText kTitle{{"宋体", 16}, kPurple};
const PageText kRole{{"Arial", 18}, kGreen};

// Rule kinds of the function index.
enum Function {
    kWords = 8,
    kSentences = 9,
    kDictation = 10,
    kArrange = 12,
    kDiscern = 14,
    kRoles = 15,
    kGames = 18,
    kMusic = 19,
    kTest = 20,
    kAnimation = 23
};

std::string Extension(const SourceFile& file) { return std::filesystem::path(file.path).extension().string(); }

// An espeak-ng voice with another variant: "en-gb" or "en-gb+m1" with "f3" is "en-gb+f3".
std::string WithVariant(const std::string& voice, const std::string& variant) {
    return voice.substr(0, voice.find('+')) + "+" + variant;
}

class Planner {
public:
    Planner(const LessonSource& source, const TextMeasure& measure, const std::string& voice)
        : source_(source), measure_(measure), voice_(voice) {
        size_t next = 0;
        for (const auto& role : source.Roles()) {
            const auto given = source.voices.find(role);
            voices_[role] = given != source.voices.end()
                                ? given->second
                                : WithVariant(voice, kRoleVariants[next++ % std::size(kRoleVariants)]);
        }
        for (const auto& word : source.words) words_[word.word] = &word;
    }

    LessonPlan Run() {
        for (const char* mark : {"right", "selected", "unselected"}) Draw(MarkFile(mark), mark);
        AddPaged(kWords, "words", source_.words, kWordsPerPage,
                 [this](auto first, auto last) { return WordsPage(first, last); });
        AddPaged(kDictation, "dictation", source_.dictation, kDictationPerPage,
                 [this](auto first, auto last) { return DictationPage(first, last); });
        if (!source_.dialogue.empty()) {
            Scene();
            SentencesPages();
            RolesPages();
        }
        const auto discern = Items(source_.discrimination);
        AddPaged(kDiscern, "discern", discern, kChoicesPerPage, [this](auto first, auto last) {
            return TestPage(first, last, "Discerns", "Listen and choose. 听录音，选图片。");
        });
        const bool typed = std::any_of(source_.test.begin(), source_.test.end(), [](auto& q) { return q.typed; });
        AddPaged(kTest, "test", source_.test, kChoicesPerPage, [&](auto first, auto last) {
            return TestPage(first, last, "Tests",
                            typed ? "Test: listen, choose or write. 测一测：听录音，选图片或写单词。"
                                  : "Test: listen and choose. 测一测：听录音，选图片。");
        });
        if (!source_.arrangement.empty()) {
            Add(kArrange, "arrange.ov", ArrangePage());
            // The arrangement is the test's last page too.
            plan_.functions[kTest].push_back("arrange.ov");
        }
        if (!source_.song.empty()) Add(kMusic, "music.ov", MusicPage());
        MoviePages(source_.animations, kAnimation, "anim");
        MoviePages(source_.games, kGames, "game");
        for (const auto& extra : source_.files) Copy(extra.target, extra.file);
        return std::move(plan_);
    }

private:
    static std::string MarkFile(const std::string& kind) {
        return kind == "right" ? "right.jpg" : kind == "selected" ? "Selected.jpg" : "NOSelected.jpg";
    }

    void Add(int function, const std::string& file, const PageWriter& page) {
        plan_.pages[file] = page.Xml();
        plan_.functions[function].push_back(file);
    }

    // Items a page at a time: "words.ov", "words2.ov", ...
    template <typename Item, typename Make>
    void AddPaged(int function, const std::string& stem, const std::vector<Item>& items, size_t perPage, Make make) {
        for (size_t first = 0; first < items.size(); first += perPage) {
            const size_t page = first / perPage;
            Add(function, stem + (page == 0 ? "" : std::to_string(page + 1)) + ".ov",
                make(items.begin() + static_cast<long>(first),
                     items.begin() + static_cast<long>(std::min(items.size(), first + perPage))));
        }
    }

    void Draw(const std::string& file, const std::string& kind, const std::string& text = "") {
        if (drawn_.insert(file).second) plan_.drawings.push_back({file, kind, text});
    }
    void Copy(const std::string& file, const SourceFile& source) {
        if (drawn_.insert(file).second) plan_.copies.push_back({file, &source});
    }
    std::string Say(const std::string& file, const std::string& text, const std::string& voice, int speed) {
        if (drawn_.insert(file).second) plan_.speech.push_back({file, voice, speed, text});
        return file;
    }

    // A word's sound as the word drill finds it: w_ + word, recorded or spoken.
    std::string WordSound(const std::string& word) {
        const auto found = words_.find(word);
        if (found != words_.end() && found->second->sound.Given()) {
            const std::string file = "w_" + word + Extension(found->second->sound);
            Copy(file, found->second->sound);
            return file;
        }
        return Say("w_" + word + ".wav", word, voice_, kWordSpeed);
    }

    // A word's picture: the teacher's, or a card drawn with the word on it.
    std::string Card(const std::string& word) {
        const auto found = words_.find(word);
        if (found != words_.end() && found->second->picture.Given()) {
            const std::string file = "card_" + word + Extension(found->second->picture);
            Copy(file, found->second->picture);
            return file;
        }
        Draw("card_" + word + ".jpg", "card", word);
        return "card_" + word + ".jpg";
    }

    void Scene() {
        if (source_.scene.Given())
            Copy(scene_ = "scene" + Extension(source_.scene), source_.scene);
        else
            Draw(scene_ = "scene.jpg", "scene");
    }

    PageWriter Titled(const std::string& title) {
        PageWriter page(measure_);
        titleBottom_ = page.Sentence(title, 12, 40, kPageWidth - kPageMargin, kTitle, "", false).box.Bottom();
        return page;
    }

    // Word follow-reading: two columns of words, each read in turn with room
    // to repeat it.
    template <typename It>
    PageWriter WordsPage(It first, It last) {
        PageWriter page = Titled("Listen and repeat. 听一听，跟读单词。");
        const PageText look{{"Arial", 26}, kNavy};
        std::string script;
        for (int i = 0; first != last; ++first, ++i) {
            const int left = 60 + i / kWordsPerColumn * 380;
            const auto placed = page.Sentence(first->word, 60 + i % kWordsPerColumn * 70, left, left + 360, look,
                                              WordSound(first->word));
            script += "[0,0," + std::to_string(placed.id) + ",1][1,0,0,2000]";
        }
        page.Rule("WordFollowReads", "<r Id=\"0\">" + script + "</r>");
        return page;
    }

    // Dictation: hear a word, type it; the tick shows on a right answer.
    template <typename It>
    PageWriter DictationPage(It first, It last) {
        PageWriter page = Titled("Listen and write. 听录音，写单词。");
        const PageText look{{"Arial", 20}, kNavy};
        for (int i = 0; first != last; ++first, ++i) {
            const int top = 70 + i % 3 * 110, left = 60 + i / 3 * 380;
            page.Sentence(std::to_string(i + 1) + ".", top, left, left + 50, look, "", false);
            const int heard = page.Sound(WordSound(*first));
            const int edit = page.Edit({left + 50, top, 160, kEditHeight});
            const int mark = page.Picture("right.jpg", {left + 230, top, kMark, kMark}, false);
            page.Rule("WordFollowWrites", Item(static_cast<size_t>(i), heard, 1, edit, mark, *first));
        }
        return page;
    }

    static std::string Item(size_t index, int heard, int style, int edit, int mark, const std::string& answer) {
        return "<item Id=\"" + std::to_string(index) + "\" SentencesId=\"" + std::to_string(heard) +
               "\"><test TestStyle=\"" + std::to_string(style) + "\" ControlStyle=\"4\" ControlId=\"" +
               std::to_string(edit) + "\" ImageId=\"" + std::to_string(mark) + "\" Answer=\"" + XmlEscaped(answer) +
               "\"/></item>";
    }

    // The dialogue's lines from `first` on that fit below `top`, each after
    // its speaker, the speakers in a column as wide as the longest role name;
    // the sentence Ids with their word counts. At least one line, so that a
    // long line cannot stop the dialogue.
    std::vector<std::pair<int, size_t>> Dialogue(PageWriter& page, int top, size_t first) {
        int column = 0;
        for (const auto& role : source_.Roles()) column = std::max(column, page.LineWidth(role + ":", kRole.font));
        const int left = 40 + column + page.SpaceWidth(kRole.font) * 2;
        const PageText look{{"Arial", 20}, kNavy};
        std::vector<std::pair<int, size_t>> lines;
        for (size_t n = first; n < source_.dialogue.size(); ++n) {
            const auto& line = source_.dialogue[n];
            // Measured on a scratch page first: a line that does not fit starts the next page.
            PageWriter scratch(measure_);
            const int bottom =
                std::max(scratch.Sentence(line.role + ":", top, 40, kPageWidth, kRole).box.Bottom(),
                         scratch.Sentence(line.text, top, left, kPageWidth - kPageMargin, look).box.Bottom());
            if (!lines.empty() && bottom > kPageHeight - kPageMargin) break;
            page.Sentence(line.role + ":", top, 40, kPageWidth, kRole, "", false);
            std::string audio;
            if (line.sound.Given())
                Copy(audio = "s" + std::to_string(n + 1) + Extension(line.sound), line.sound);
            else
                audio = Say("s" + std::to_string(n + 1) + ".wav", line.text, voices_.at(line.role), kLineSpeed);
            lines.emplace_back(page.Sentence(line.text, top, left, kPageWidth - kPageMargin, look, audio).id,
                               SentenceWords(line.text).size());
            top = bottom + 12;
        }
        return lines;
    }

    // The dialogue a page at a time, the first below the scene, the others
    // below their title: `fill` writes a page's rules for its lines, from the
    // dialogue's line `first` on.
    using DialogueRules = std::function<void(PageWriter&, const std::vector<std::pair<int, size_t>>&, size_t first)>;
    void DialoguePages(int function, const std::string& stem, const std::string& title, const DialogueRules& fill) {
        for (size_t first = 0, number = 1; first < source_.dialogue.size(); ++number) {
            PageWriter page = Titled(title);
            int top = titleBottom_ + 12;
            if (first == 0) {
                const PageRect scene{40, std::max(40, titleBottom_ + 8), 340, 240};
                page.Picture(scene_, scene);
                top = scene.Bottom() + 16;
            }
            const auto lines = Dialogue(page, top, first);
            fill(page, lines, first);
            first += lines.size();
            Add(function, stem + (number == 1 ? "" : std::to_string(number)) + ".ov", page);
        }
    }

    // Sentence follow-reading: the scene, then the dialogue read line by line
    // with a pause to repeat each.
    void SentencesPages() {
        DialoguePages(kSentences, "sentences", "Listen and repeat. 听一听，跟读句子。",
                      [](PageWriter& page, const auto& lines, size_t) {
                          std::string script;
                          for (const auto& [id, count] : lines)
                              script += "[0,0," + std::to_string(id) + ",1][1,0,0," +
                                        std::to_string(1500 + 500 * count) + "]";
                          page.Rule("SentenceFollowReads", "<r Id=\"0\">" + script + "</r>");
                      });
    }

    // Role swap: the program speaks the other roles and leaves the pupil's
    // lines silent for as long as they take to say.
    void RolesPages() {
        DialoguePages(kRoles, "roles", "Choose a role and act. 选一个角色，和电脑对话。",
                      [this](PageWriter& page, const auto& lines, size_t first) {
                          for (const auto& role : source_.Roles()) {
                              std::string script;
                              for (size_t n = 0; n < lines.size(); ++n)
                                  script += source_.dialogue[first + n].role == role
                                                ? "[1,0,0," + std::to_string(1500 + 600 * lines[n].second) + "]"
                                                : "[0,0," + std::to_string(lines[n].first) + ",1]";
                              page.Rule("RoleActs", "<r Role=\"" + XmlEscaped(role) + "\">" + script + "</r>");
                          }
                      });
    }

    static std::vector<SourceQuestion> Items(const std::vector<SourceChoice>& choices) {
        std::vector<SourceQuestion> items;
        for (const auto& choice : choices) items.push_back({false, choice.words});
        return items;
    }

    // Choices and typed answers: hear a word, then choose its card (the choice
    // writes the word into the item's answer edit) or type it.
    template <typename It>
    PageWriter TestPage(It first, It last, const std::string& section, const std::string& title) {
        PageWriter page = Titled(title);
        const PageText look{{"Arial", 20}, kNavy};
        int top = std::max(50, titleBottom_ + 12);
        for (size_t i = 0; first != last; ++first, ++i) {
            const auto& question = *first;
            const int middle = question.typed ? top : top + 40;
            page.Sentence(std::to_string(i + 1) + ".", middle, 40, 80, look, "", false);
            const int heard = page.Sound(WordSound(question.words.front()));
            int left = 90;
            if (!question.typed) {
                // The answer's place changes from item to item, the same on every build.
                std::vector<std::string> choices = question.words;
                std::rotate(choices.begin(), choices.begin() + static_cast<long>((i + 1) % choices.size()),
                            choices.end());
                for (const auto& word : choices) {
                    page.Picture(Card(word), {left, top, kCard, kCard});
                    page.Picture(MarkFile("unselected"), {left + (kCard - kMark) / 2, top + kCard + 4, kMark, kMark},
                                 true, static_cast<int>(i), word);
                    left += kCard + 50;
                }
                left -= 30;
            }
            const int edit = page.Edit({left, middle, 140, kEditHeight});
            const int mark = page.Picture("right.jpg", {left + 160, middle, kMark, kMark}, false);
            page.Rule(section, Item(i, heard, question.typed ? 1 : 3, edit, mark, question.words.front()));
            top += question.typed ? 60 : kCard + kMark + 18;
        }
        return page;
    }

    // Arrangement: each sentence's words shuffled along a line, to be dragged
    // into order.
    PageWriter ArrangePage() {
        PageWriter page = Titled("Listen and put the words in order. 听录音，把单词排成句子。");
        const PageText look{{"Arial", 24}, kNavy};
        for (size_t n = 0; n < source_.arrangement.size(); ++n) {
            const auto words = SentenceWords(source_.arrangement[n]);
            std::vector<size_t> order(words.size());
            for (size_t i = 0; i < words.size(); ++i) order[i] = i;
            std::sort(order.begin(), order.end(),
                      [&](size_t a, size_t b) { return (a * 3 + 1) % words.size() < (b * 3 + 1) % words.size(); });
            if (std::is_sorted(order.begin(), order.end())) std::reverse(order.begin(), order.end());
            const std::string audio = Say(n == 0 ? "arrange.wav" : "arrange" + std::to_string(n + 1) + ".wav",
                                          source_.arrangement[n], voice_, kWordSpeed);
            const int top = 120 + static_cast<int>(n) * 80;
            const auto placed = page.Shuffled(words, order, top, 80, look, audio);
            const int mark = page.Picture("right.jpg", {placed.box.Right() + 20, top, kMark, kMark}, false);
            std::string answer;
            for (size_t i = 0; i < words.size(); ++i) answer += "0123456789abcdefghijklmnopqrstuvwxyz"[i % 36];
            page.Rule("ArrangeWords", "<a Id=\"" + std::to_string(n) + "\" SentencesId=\"" + std::to_string(placed.id) +
                                          "\"><answer Answer=\"" + answer + "\" ImageId=\"" + std::to_string(mark) +
                                          "\"/></a>");
        }
        return page;
    }

    // The song: listen to it whole, or learn it line by line.
    PageWriter MusicPage() {
        PageWriter page(measure_);
        constexpr int kColumn = 480;  // the notes and the movie stand right of the text
        int top = page.Sentence(source_.songTitle, 20, 60, kColumn - kPageMargin, {{"Arial", 24}, kPurple}, "", false)
                      .box.Bottom() +
                  40;
        Draw("notes.jpg", "notes");
        page.Picture("notes.jpg", {kColumn + 40, 30, 200, 160});
        if (source_.songMovie.Given()) {
            plan_.movies.push_back({"Flash/song.swf", &source_.songMovie});
            page.Flash("Flash/song.swf", {kColumn, 210, 240, 98});
        }
        std::string listen, learn;
        for (size_t n = 0; n < source_.song.size(); ++n) {
            const auto& line = source_.song[n];
            std::string audio = "song" + std::to_string(n + 1);
            if (line.sound.Given())
                Copy(audio += Extension(line.sound), line.sound);
            else
                Say(audio += ".wav", line.text, WithVariant(voice_, "f2"), kSungSpeed);
            const auto placed = page.Sentence(line.text, top, 60, kColumn - kPageMargin, {{"Arial", 22}, kNavy}, audio);
            const std::string play = "[0,0," + std::to_string(placed.id) + ",1]";
            listen += play;
            learn += play + "[1,0,0," + std::to_string(1000 + 600 * SentenceWords(line.text).size()) + "]";
            top = placed.box.Bottom() + 28;
        }
        page.Rule("Musics", "<r Id=\"0\">" + listen + "</r>");
        page.Rule("Musics", "<r Id=\"1\">" + learn + "</r>");
        return page;
    }

    // Animations and games: a title over the movie, or a page written by hand.
    void MoviePages(const std::vector<SourceMoviePage>& pages, int function, const std::string& stem) {
        for (size_t n = 0; n < pages.size(); ++n) {
            const auto& source = pages[n];
            const std::string file = stem + std::to_string(n + 1) + ".ov";
            if (source.page.Given()) {
                Copy(file, source.page);
                plan_.functions[function].push_back(file);
                continue;
            }
            const std::string movie = "Flash/" + stem + std::to_string(n + 1) + ".swf";
            plan_.movies.push_back({movie, &source.movie});
            PageWriter page = Titled(source.title);
            const PageRect box{60, std::max(50, titleBottom_ + 8), 550, 400};
            if (function == kGames)
                page.Rule("Games", "<g Id=\"0\" Top=\"" + std::to_string(box.top) +
                                       "\" Left=\"60\" Width=\"550\" "
                                       "Height=\"400\" Movie=\"" +
                                       movie + "\"/>");
            else
                page.Flash(movie, box);
            Add(function, file, page);
        }
    }

    const LessonSource& source_;
    const TextMeasure& measure_;
    std::string voice_;
    std::map<std::string, std::string> voices_;
    std::map<std::string, const SourceWord*> words_;
    std::set<std::string> drawn_;
    std::string scene_;
    int titleBottom_ = 0;
    LessonPlan plan_;
};

}  // namespace

LessonPlan PlanLesson(const LessonSource& source, const TextMeasure& measure, const std::string& voice) {
    return Planner(source, measure, voice).Run();
}

}  // namespace ovtool
