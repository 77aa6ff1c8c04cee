#include "present/AnswerCheck.h"

#include <QLabel>
#include <QScrollBar>

#include <algorithm>

#include "core/CoursewarePath.h"
#include "core/MessageHook.h"
#include "lesson/LessonDocument.h"
#include "present/AnswerEdit.h"
#include "present/PageSound.h"
#include "present/ScriptPlayer.h"
#include "present/PageView.h"
#include "present/PageFont.h"
#include "present/PagePlace.h"
#include "present/PictureItem.h"
#include "present/StudyFunctions.h"
#include "present/SentenceWord.h"
#include "present/SpellingFeedback.h"
#include "store/CipherAndFiles.h"

namespace ov {
namespace {

const QColor kAnswerRed{0xFF, 0x00, 0x00};
// The toolkit's $97F4D9.
const QColor kAnswerBackground{0xD9, 0xF4, 0x97};
const QString kStandardAnswer = QStringLiteral("标准答案: ");

bool IsDictation(TOVRule kind) { return StudyFunctionOf(kind).answers == AnswerKind::Dictation; }
bool IsArrangement(TOVRule kind) { return StudyFunctionOf(kind).answers == AnswerKind::Arrangement; }
bool IsChoice(TOVRule kind) { return StudyFunctionOf(kind).answers == AnswerKind::Choice; }
bool HeardThenTyped(TOVRule kind) { return StudyFunctionOf(kind).items == ItemKind::HeardThenTyped; }

template <typename Control>
QList<Control*> ItemsOf(const PageView& box, TItemKind kind) {
    QList<Control*> controls;
    for (const TBoxItem& item : box.PageItems())
        if (item.Kind == kind) controls.append(static_cast<Control*>(item.Control));
    return controls;
}

// The dictation and choice sections keep their answers apart; the kind says which.
std::string EditAnswer(LessonDocument& document, TOVRule kind, int32_t editId) {
    std::string answer;
    if (IsDictation(kind))
        document.GetEditAnswer(rEdit, editId, answer, kind);
    else
        document.GetEditAnswer(kind, rEdit, answer, editId);
    return answer;
}

TXMLImage ResultMark(LessonDocument& document, TOVRule kind, int32_t editId) {
    TXMLImage mark;
    if (IsDictation(kind))
        document.GetResultMark(editId, kind, mark);
    else
        document.GetResultMark(kind, editId, mark);
    return mark;
}

void ShowCounts(const TAnswerCount& count) {
    ShowMessageEx("统计提示",
                  "答对个数:" + std::to_string(count.Right) + " " + "答错个数:" + std::to_string(count.Total - count.Right),
                  0);
}

// The arrangement kinds whose answers go with a page shown for `kind`: its
// own first, as an arrangement function always checked it, then any other
// the page holds.
std::vector<TOVRule> ArrangementsWith(PageView& box, TOVRule kind) {
    std::vector<TOVRule> kinds;
    if (IsArrangement(kind)) kinds.push_back(kind);
    if (!box.Document()) return kinds;
    for (TOVRule arrangement : {rArrangeWord, rArrangeSentence})
        if (arrangement != kind && box.Document()->HasArrangements(arrangement)) kinds.push_back(arrangement);
    return kinds;
}

// A picked picture's mark says all there is to say about a choice; letters
// are explained only where the pupil typed them.
bool ExplainsLetters(TOVRule kind, const TAnswerEdit& edit) { return !IsChoice(kind) || edit.ShowsTyping(); }

// Sounds of test items play through the lesson sound like sentences do.
void PlayItemSound(PageView& box, const std::string& name) {
    box.Sound().PlayLesson(box.AudioFile(QString::fromStdString(name)));
}

std::string ItemSound(PageView& box, int32_t item, TOVRule kind) {
    std::string name;
    if (box.Document()) box.Document()->GetItemAudio(item, kind, name);
    return name;
}

// Base-36 digits, lower-case letters only; nothing for any other character.
std::optional<std::vector<std::string>> AnswerOrder(const std::string& answer) {
    std::vector<std::string> order;
    for (char c : answer) {
        if (c >= '0' && c <= '9')
            order.push_back(std::to_string(c - '0'));
        else if (c >= 'a' && c <= 'z')
            order.push_back(std::to_string(c - 'a' + 10));
        else
            return std::nullopt;
    }
    return order;
}

// Answer labels go first: a second press of the answer button replaces them.
// The letters explained by the count stay: the answers complete them.
void RemoveAnswerLabels(PageView& box) {
    QList<TBoxItem>& overlays = box.Overlays();
    for (qsizetype i = overlays.size() - 1; i >= 0; --i) {
        if (overlays[i].Kind != ikWord || qobject_cast<SpellingFeedback*>(overlays[i].Control)) continue;
        overlays[i].Control->hide();
        delete overlays[i].Control;
        overlays.removeAt(i);
    }
}

}  // namespace

void GotoItem(PageView& box, TOVRule kind, bool reset, int32_t item) {
    box.Script().StopAll();
    if (!box.Document()) return;
    switch (StudyFunctionOf(kind).items) {
        case ItemKind::HeardThenTyped: PlayTestItem(box, item, kind); break;
        case ItemKind::Game: ShowGame(box, item); break;
        case ItemKind::Question: PlayQuestion(box, item, kind); break;
        case ItemKind::None: break;
    }
    if (reset) ResetAnswers(box);
    box.SetCurrentItem(item);
}

void PlayTestItem(PageView& box, int32_t item, TOVRule kind) {
    // An item without a sound silences the one before it.
    const std::string name = ItemSound(box, item, kind);
    if (name.empty())
        box.Sound().StopLesson();
    else
        PlayItemSound(box, name);
    box.SetCurrentItem(item);
    if (HeardThenTyped(kind)) FocusItemEdit(box, kind);
}

void PlayQuestion(PageView& box, int32_t item, TOVRule kind) {
    box.SetCurrentItem(item);
    std::string name = ItemSound(box, item, rTest);
    if (kind == rTest) FocusItemEdit(box, rTest);
    if (!name.empty()) PlayItemSound(box, name);
}

void FocusItemEdit(PageView& box, TOVRule kind) {
    if (!box.Document()) return;
    LessonDocument& document = *box.Document();
    std::vector<TTest> tests = kind == rTest ? document.GetTestItemTests(box.CurrentItem())
                                             : document.GetItemTests(box.CurrentItem(), kind);
    if (tests.empty() || tests.front().ControlId == -1) return;
    for (TAnswerEdit* edit : ItemsOf<TAnswerEdit>(box, ikEdit)) {
        if (edit->Id() != tests.front().ControlId) continue;
        edit->setFocus();
        edit->SetColor(TAnswerEdit::kLeft);
        return;
    }
}

void ShowGame(PageView& box, int32_t item) {
    if (!box.Document()) return;
    box.ClearItems();
    TXMLFlash game;
    box.Document()->GetGame(item, game);
    box.AddMovie(game);
    // Clearing left the page no room; without this the game is never seen.
    box.FitPage();
}

int StepItem(PageView& box, TOVRule kind, int direction) {
    if (kind == rGames || !box.Document()) return kStepOther;
    box.Script().StopAll();
    LessonDocument& document = *box.Document();
    const int32_t next = document.GetNeighbourItem(direction, box.CurrentItem(), kind);
    std::pair<int32_t, int32_t> range{-1, -1};
    document.GetItemRange(kind, range);
    const auto [last, first] = range;
    if (next == -1) return kStepOther;
    int code = kStepOther;
    if (next == last)
        code = kStepLast;
    else if (next == first)
        code = kStepFirst;
    if (first == last) code = kStepOnly;
    GotoItem(box, kind, false, next);
    return code;
}

void ResetAnswers(PageView& box) {
    const QList<TPictureItem*> pictures = ItemsOf<TPictureItem>(box, ikPicture);
    QString mark = QStringLiteral("NOSelected.jpg");
    for (const TPictureItem* picture : pictures) {
        const TRImage& record = picture->Record();
        if (record.Selected || record.Key.empty() || record.Name.empty()) continue;
        mark = QString::fromStdString(record.Name);
        break;
    }
    for (TAnswerEdit* edit : ItemsOf<TAnswerEdit>(box, ikEdit)) edit->clear();
    for (TPictureItem* picture : pictures)
        if (!picture->Record().Key.empty()) picture->LoadPicture(box.PicturePath(mark));
}

std::optional<TPageStatistics> ShowStatistics(PageView& box, TOVRule kind) {
    ClearOverlays(box);
    HideAnswerHints(box);
    std::optional<TAnswerCount> count;
    std::vector<TWrongAnswer> wrong;
    if (IsDictation(kind) || IsChoice(kind)) count = CheckEdits(box, kind, true, &wrong);
    for (TOVRule arrangement : ArrangementsWith(box, kind)) {
        const std::optional<TAnswerCount> arranged = CheckArrangement(box, arrangement);
        if (!arranged) continue;
        if (!count) count.emplace();
        *count += *arranged;
    }
    if (!count) return std::nullopt;
    ShowCounts(*count);
    return TPageStatistics{*count, std::move(wrong)};
}

void ShowAnswers(PageView& box) {
    RemoveAnswerLabels(box);
    const TOVRule kind = box.RuleKind();
    if (IsDictation(kind) || IsChoice(kind)) CheckEdits(box, kind, false);
    for (TOVRule arrangement : ArrangementsWith(box, kind)) ShowArrangementAnswers(box, arrangement);
}

bool AnswerMatches(const std::string& typed, const std::string& answer) {
    return AsciiUpper(typed) == AsciiUpper(answer);
}

std::optional<TAnswerCount> CheckEdits(PageView& box, TOVRule kind, bool marks, std::vector<TWrongAnswer>* wrong) {
    if (box.PageItems().isEmpty() || !box.Document()) return std::nullopt;
    LessonDocument& document = *box.Document();
    const QList<TAnswerEdit*> edits = ItemsOf<TAnswerEdit>(box, ikEdit);
    TAnswerCount count{0, static_cast<int>(edits.size())};
    for (TAnswerEdit* edit : edits) {
        const std::string answer = EditAnswer(document, kind, edit->Id());
        const std::string typed = edit->text().toStdString();
        if (AnswerMatches(typed, answer)) {
            if (marks) ShowMark(box, ResultMark(document, kind, edit->Id()));
            ++count.Right;
        } else {
            if (wrong) wrong->push_back({typed, answer});
            if (marks && ExplainsLetters(kind, *edit)) ShowSpellingFeedback(box, *edit, QString::fromStdString(answer));
        }
        if (!marks) ShowStandardAnswer(box, *edit, QString::fromStdString(answer), kAnswerRed);
    }
    return count;
}

std::optional<TAnswerCount> CheckArrangement(PageView& box, TOVRule kind) {
    if (!box.Document()) return std::nullopt;
    const std::vector<std::string> ids = box.Document()->GetSentenceIds(kind);
    if (ids.empty()) return std::nullopt;
    TAnswerCount count{0, static_cast<int>(ids.size())};
    for (const std::string& text : ids) {
        const std::optional<int32_t> id = ParseDecimal(text);
        if (!id || !CheckSentenceOrder(box, *id, kind)) continue;
        TXMLImage mark;
        box.Document()->GetSentenceMark(*id, kind, mark);
        ShowMark(box, mark);
        ++count.Right;
    }
    return count;
}

bool CheckSentenceOrder(PageView& box, int32_t sentenceId, TOVRule kind) {
    if (!box.Document()) return false;
    LessonDocument& document = *box.Document();
    const std::vector<std::string> words = document.GetSentenceWords(sentenceId, kind).value_or(std::vector<std::string>{});
    if (words.empty()) return false;
    const int32_t group = document.GetSentenceGroup(kind, sentenceId);
    const std::vector<std::string> order = group != -1 ? CurrentWordOrder(box, words, group) : std::vector<std::string>{};
    std::string answer;
    document.GetSentenceAnswer(sentenceId, kind, answer);
    const auto wanted = AnswerOrder(answer);
    if (!wanted) {
        ShowMessageEx("提示", "未找到资源文件", 0);
        return false;
    }
    // Texts, not Ids, are compared: two words spelt alike may swap places.
    std::string placed;
    std::string expected;
    document.ComposeSentence(sentenceId, kind, placed, order);
    document.ComposeSentence(sentenceId, kind, expected, *wanted);
    return placed == expected;
}

std::vector<std::string> CurrentWordOrder(const PageView& box, const std::vector<std::string>& words, int32_t group) {
    std::vector<std::pair<int32_t, int>> placed;
    for (const SentenceWord* word : ItemsOf<SentenceWord>(box, ikWord)) {
        const TRSentence& record = word->Word();
        const bool listed = std::any_of(words.begin(), words.end(),
                                        [&](const std::string& id) { return ParseDecimal(id) == record.Id; });
        if (listed && record.SentenceId == group) placed.emplace_back(record.Id, word->x());
    }
    std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    std::vector<std::string> order;
    for (const auto& [id, left] : placed) order.push_back(std::to_string(id));
    return order;
}

void ShowArrangementAnswers(PageView& box, TOVRule kind) {
    if (!box.Document()) return;
    LessonDocument& document = *box.Document();
    const std::vector<std::string> ids = document.GetSentenceIds(kind);
    for (size_t i = 0; i < ids.size(); ++i) {
        TTmpLabel label;
        document.GetAnswerLabel(ParseDecimal(ids[i]).value_or(-1), kind, label);
        document.GetAnswerFont(static_cast<int32_t>(i), kind, label.Font);
        ShowAnswerLabel(box, label);
    }
}

void ShowAnswerLabel(PageView& box, const TTmpLabel& record) {
    auto* label = new QLabel(QString::fromStdString(record.Text), box.Page());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kAnswerRed);
    label->setPalette(palette);
    label->adjustSize();
    // Raised by its height in the box's font, measured before the record's font applies.
    const QPoint place = PagePoint(record.Left, record.Top);
    label->move(place.x(), place.y() - label->height() - 5);
    label->setFont(PageFont(record.Font, label->font()));
    label->adjustSize();
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->show();
    box.Overlays().append(TBoxItem{ikWord, label});
}

void ShowMark(PageView& box, const TXMLImage& mark) {
    // Marks are the page's invisible pictures; a visible one is already shown.
    if (mark.Image.Visible) return;
    auto* picture = new TPictureItem(box.Page(), mark.Image);
    picture->setGeometry(PageRect(mark.Left, mark.Top, mark.Width, mark.Height));
    if (!picture->LoadPicture(box.PicturePath(QString::fromStdString(mark.Image.Name))))
        ShowMessageEx("提示", "未找到资源，编号 : " + mark.Image.Name, 0);
    picture->show();
    box.Overlays().append(TBoxItem{ikPicture, picture});
}

void ShowStandardAnswer(PageView& box, TAnswerEdit& edit, const QString& answer, const QColor& color) {
    auto* label = new QLabel(kStandardAnswer + answer, box.Page());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Window, kAnswerBackground);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setFont(PageFont(TXMLFont{10, "宋体", 0}, label->font()));
    label->adjustSize();
    edit.setToolTip(kStandardAnswer + answer);
    label->move(edit.x(), edit.y() - label->height());
    label->show();
    box.Overlays().append(TBoxItem{ikWord, label});
}

void ShowSpellingFeedback(PageView& box, const TAnswerEdit& edit, const QString& answer) {
    auto* feedback = new SpellingFeedback(box.Page(), edit, answer);
    feedback->show();
    box.Overlays().append(TBoxItem{ikWord, feedback});
    // Under the page's lowest edit it would stand beyond the page's end.
    box.FitPage();
}

void ClearOverlays(PageView& box) {
    RemoveAnswerLabels(box);
    for (const TBoxItem& item : box.Overlays()) delete item.Control;
    box.Overlays().clear();
}

void HideAnswerHints(PageView& box) {
    for (TAnswerEdit* edit : ItemsOf<TAnswerEdit>(box, ikEdit)) edit->setToolTip(QString());
}

}  // namespace ov
