#include "StudyWindow.h"

#include "LessonText.h"

#include "audio/AudioEngine.h"
#include "support/SilentSound.h"
#include "core/MessageHook.h"
#include "lesson/FunctionIndexFile.h"
#include "present/AnswerEdit.h"
#include "present/PagePlayback.h"
#include "present/ScriptPlayer.h"
#include "present/MovieControl.h"
#include "present/SoundInfoPanel.h"
#include "present/SoundDisplay.h"
#include "shell/FunctionColumn.h"
#include "shell/RoleDialog.h"
#include "study/FunctionConductor.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;
using Button = QPushButton* ov::OperationBar::*;

// Long enough to be still playing when a test looks.
constexpr int kSoundMs = 3000;

// Items of the exercise functions: each function's own items, heard in
// sentences base + 1 to base + 3 and answered in edits 1 to 3.
struct ExerciseSection {
    ov::TOVRule kind;
    const char* section;
    int base;
};
const ExerciseSection kExercises[] = {
    {ov::rWordFollowWrite, "WordFollowWrites", 10}, {ov::rDiscern, "Discerns", 20}, {ov::rTest, "Tests", 30}};
const char* const kAnswers[] = {"cat", "dog", "pig"};

std::string SoundName(int sentence) { return std::string("s").append(std::to_string(sentence)).append(".wav"); }

std::string Sentence(int id, int top) {
    const std::string n = std::to_string(id);
    return "<s Id=\"" + n + "\" Audio=\"" + SoundName(id) +
           "\" Font_Size=\"12\" Font_Style=\"Arial\" Font_Color=\"0\" "
           "RuleStyle=\"0\" RuleId=\"-1\"><w Id=\"1\" Top=\"" +
           std::to_string(top) + "\" Left=\"20\" Visible=\"True\" CanMove=\"False\">w" + n + "</w></s>";
}

// One page for every function: reading rules that play sentences 1 to 6
// (sentence 5 is Tom's, 6 Amy's), three items per exercise function, and a
// game when a movie is named.
std::string PageXml(std::vector<int>& sentences, const std::string& game = "") {
    std::string alls, edits, marks;
    sentences = {1, 2, 3, 4, 5, 6};
    for (const ExerciseSection& e : kExercises)
        for (int i = 1; i <= 3; ++i) sentences.push_back(e.base + i);
    for (size_t i = 0; i < sentences.size(); ++i) alls += Sentence(sentences[i], 20 * static_cast<int>(i));
    for (int i = 1; i <= 3; ++i) {
        const std::string n = std::to_string(i);
        edits += "<e Id=\"" + n + "\" Top=\"" + std::to_string(40 * i) +
                 "\" Left=\"600\" Caption=\"\" RuleId=\"-1\" Width=\"100\"/>";
        marks += "<p Id=\"10" + n +
                 "\" Name=\"right.jpg\" Visible=\"False\" Group=\"-1\" RuleId=\"-1\" Key=\"\" Top=\"" +
                 std::to_string(40 * i) + "\" Left=\"720\" Width=\"16\" Height=\"16\"/>";
    }
    std::map<std::string, std::string> rules = {
        {"WordFollowReads", "<r Id=\"0\">[0,0,1,1]</r>"},
        {"SentenceFollowReads", "<r Id=\"0\">[0,0,2,1]</r>"},
        {"Musics", "<r Id=\"0\">[0,0,3,1]</r><r Id=\"1\">[0,0,4,1]</r>"},
        {"RoleActs", "<r Role=\"Tom\">[0,0,5,1]</r><r Role=\"Amy\">[0,0,6,1]</r>"},
    };
    if (!game.empty())
        rules["Games"] = R"(<g Id="0" Top="50" Left="60" Width="100" Height="80" Movie=")" + game + R"("/>)";
    for (const ExerciseSection& e : kExercises)
        for (int i = 0; i < 3; ++i)
            rules[e.section] +=
                "<item Id=\"" + std::to_string(i) + "\" SentencesId=\"" + std::to_string(e.base + i + 1) +
                "\"><test TestStyle=\"1\" ControlStyle=\"4\" ControlId=\"" + std::to_string(i + 1) + "\" ImageId=\"10" +
                std::to_string(i + 1) + "\" Answer=\"" + kAnswers[i] + "\"/></item>";
    std::vector<std::pair<std::string, std::string>> fill = {{"alls", alls}, {"alli", marks}, {"alledit", edits}};
    for (const auto& [section, content] : rules) fill.emplace_back(section, content);
    return lessontest::LessonXml(fill);
}


// A lesson whose reading and exercise functions share one page ("a.ov") and
// whose games function has three pages.
class MainWindowOperationBar : public ovtest::StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        OpenLesson();
        ov::TakeRecordedMessages();
    }
    void TearDown() override {
        Panel().Box->Script().StopAll();
        ov::TakeRecordedMessages();
        StudyWindowTest::TearDown();
    }

    void FillClass(const fs::path& cls) override {
        std::vector<int> sentences;
        WritePage(cls / "a.ov", PageXml(sentences));
        for (int sentence : sentences) ASSERT_TRUE(ovtest::WriteSilence(cls / SoundName(sentence), kSoundMs));
        // The games' movies are missing: the page shows the movie's name.
        for (const char* game : {"g1", "g2", "g3"})
            WritePage(cls / (std::string(game) + ".ov"), PageXml(sentences, std::string(game) + ".swf"));
        QImage mark(16, 16, QImage::Format_RGB32);
        mark.fill(Qt::green);
        mark.save(QString::fromStdString((cls / "right.jpg").string()), "JPG");
        ov::FunctionIndexFile index(cls, "OVFunction.ind", true);
        for (ov::TOVRule kind : {ov::rWordFollowRead, ov::rSentenceFollowRead, ov::rWordFollowWrite, ov::rDiscern,
                                 ov::rRoleAct, ov::rTest, ov::rMusic, ov::rEncampment})
            index.SetPageList(kind, "a.ov");
        index.SetPageList(ov::rGames, "g1.ov|g2.ov|g3.ov");
        index.Save();
    }

    // Through the function column's button, as the pupil opens a function.
    void OpenFunction(ov::TOVRule kind) {
        for (const auto& [button, buttonKind] : window->PanelLeftFunction->FunctionButtons())
            if (buttonKind == kind) {
                button->click();
                return;
            }
        FAIL() << "no button opens function " << int(kind);
    }
    void Press(Button button) { (Bar().*button)->click(); }
    bool Enabled(Button button) { return (Bar().*button)->isEnabled(); }

    // The sentence whose sound ("s" + Id + ".wav") is playing; 0 for none.
    int PlayingSentence() const {
        ov::SoundDisplay& sound = *Panel().InfoPanel->Sound;
        if (sound.Audio().GetState() != ov::TAudioEngine::kPlaying) return 0;
        return std::stoi(fs::path(sound.FileName()).stem().string().substr(1));
    }
    int CurrentItem() const { return Panel().Box->CurrentItem(); }
    // The file name of the game the page shows; empty for none.
    std::string GameShown() const {
        for (const ov::TBoxItem& item : Panel().Box->PageItems())
            if (item.Kind == ov::ikMovie)
                return fs::path(dynamic_cast<ov::TMovieControl&>(*item.Control).Movie().toStdString()).filename();
        return {};
    }
    std::string PageLabel() const { return Panel().labPage->text().toStdString(); }
    int AnswerLabels() const {
        int labels = 0;
        for (const ov::TBoxItem& item : Panel().Box->Overlays())
            if (auto* label = qobject_cast<QLabel*>(item.Control); label && label->text().startsWith("标准答案"))
                ++labels;
        return labels;
    }
    ov::TAnswerEdit* FirstEdit() const {
        for (const ov::TBoxItem& item : Panel().Box->PageItems())
            if (item.Kind == ov::ikEdit) return static_cast<ov::TAnswerEdit*>(item.Control);
        return nullptr;
    }
};

TEST_F(MainWindowOperationBar, EachFunctionShowsItsButtonsInOrder) {
    const std::vector<QString> reading = {"开始", "停止", "录音", "播放", "对比"};
    const std::vector<QString> exercise = {"开始", "停止", "<<", ">>", "统计", "答案"};
    const std::pair<ov::TOVRule, std::vector<QString>> cases[] = {
        {ov::rWordFollowRead, reading},
        {ov::rSentenceFollowRead, reading},
        {ov::rRoleAct, reading},
        {ov::rWordFollowWrite, exercise},
        {ov::rDiscern, exercise},
        {ov::rTest, exercise},
        {ov::rMusic, {"开始", "学唱", "停止", "录音", "播放"}},
        {ov::rGames, {"开始", "停止", "<<", ">>"}},
        {ov::rEncampment, {}},
    };
    for (const auto& [kind, shown] : cases) {
        OpenFunction(kind);
        EXPECT_EQ(ShownOperations(), shown) << "kind " << int{kind};
        EXPECT_FALSE(Bar().BtnExit->isHidden());
    }
}

TEST_F(MainWindowOperationBar, StartAndSingPlayTheOpenFunctionsOwnRuleAndStopEndsIt) {
    struct Case {
        ov::TOVRule kind;
        Button button;
        int sentence;
    } cases[] = {
        {ov::rWordFollowRead, &ov::OperationBar::BtnStart, 1},
        {ov::rSentenceFollowRead, &ov::OperationBar::BtnStart, 2},
        {ov::rMusic, &ov::OperationBar::BtnStart, 3},
        {ov::rMusic, &ov::OperationBar::BtnStudySing, 4},
        {ov::rWordFollowWrite, &ov::OperationBar::BtnStart, 11},
        {ov::rDiscern, &ov::OperationBar::BtnStart, 21},
        {ov::rTest, &ov::OperationBar::BtnStart, 31},
    };
    for (const Case& c : cases) {
        OpenFunction(c.kind);
        Press(c.button);
        EXPECT_EQ(PlayingSentence(), c.sentence) << "kind " << int{c.kind};
        Press(&ov::OperationBar::BtnStop);
        EXPECT_EQ(PlayingSentence(), 0) << "kind " << int{c.kind};
    }
}

TEST_F(MainWindowOperationBar, ItemButtonsStepThroughTheOpenFunctionsItems) {
    struct Step {
        Button button;
        int item;
        bool priorEnabled, nextEnabled;
    };
    const Button prior = &ov::OperationBar::BtnPrior, next = &ov::OperationBar::BtnNext;
    // Ends inside the list, so the next function's opening has to reset "<<".
    const Step steps[] = {{next, 1, true, true},
                          {next, 2, true, false},
                          {prior, 1, true, true},
                          {prior, 0, false, true},
                          {next, 1, true, true}};
    for (const ExerciseSection& e : kExercises) {
        OpenFunction(e.kind);
        EXPECT_FALSE(Enabled(prior)) << "kind " << int{e.kind};
        EXPECT_TRUE(Enabled(next)) << "kind " << int{e.kind};
        ov::TAnswerEdit* edit = FirstEdit();
        ASSERT_NE(edit, nullptr);
        edit->setText("typed");
        Press(&ov::OperationBar::BtnStart);
        EXPECT_EQ(CurrentItem(), 0);
        EXPECT_TRUE(edit->text().isEmpty()) << "starting over clears the answers";
        for (const Step& s : steps) {
            Press(s.button);
            EXPECT_EQ(CurrentItem(), s.item) << "kind " << int{e.kind};
            EXPECT_EQ(PlayingSentence(), e.base + s.item + 1) << "kind " << int{e.kind};
            EXPECT_EQ(Enabled(prior), s.priorEnabled) << "kind " << int{e.kind} << " item " << s.item;
            EXPECT_EQ(Enabled(next), s.nextEnabled) << "kind " << int{e.kind} << " item " << s.item;
        }

        edit->setText(kAnswers[0]);
        Press(&ov::OperationBar::BtnStat);
        const auto messages = ov::TakeRecordedMessages();
        ASSERT_EQ(messages.size(), 1u) << "kind " << int{e.kind};
        EXPECT_EQ(messages[0].caption, "统计提示");
        EXPECT_EQ(messages[0].text, "答对个数:1 答错个数:2");
        Press(&ov::OperationBar::BtnResult);
        EXPECT_EQ(AnswerLabels(), 3) << "kind " << int{e.kind};
    }
}

// Buttons pressed in a function whose row does not list them (the pupil cannot
// see them there, but a stray shortcut could reach them).
TEST_F(MainWindowOperationBar, ButtonsDoNothingInFunctionsTheyDoNotServe) {
    const std::pair<ov::TOVRule, Button> cases[] = {
        {ov::rSentenceFollowRead, &ov::OperationBar::BtnStudySing},
        {ov::rSentenceFollowRead, &ov::OperationBar::BtnPrior},
        {ov::rSentenceFollowRead, &ov::OperationBar::BtnNext},
        {ov::rSentenceFollowRead, &ov::OperationBar::BtnStat},
        {ov::rSentenceFollowRead, &ov::OperationBar::BtnResult},
        {ov::rWordFollowWrite, &ov::OperationBar::BtnStudySing},
        {ov::rMusic, &ov::OperationBar::BtnStat},
        {ov::rEncampment, &ov::OperationBar::BtnStart},
    };
    for (const auto& [kind, button] : cases) {
        OpenFunction(kind);
        Press(button);
        EXPECT_EQ(PlayingSentence(), 0) << "kind " << int{kind};
        EXPECT_EQ(CurrentItem(), -1) << "kind " << int{kind};
        EXPECT_TRUE(Panel().Box->Overlays().isEmpty()) << "kind " << int{kind};
        EXPECT_TRUE(ov::TakeRecordedMessages().empty()) << "kind " << int{kind};
    }
}

TEST_F(MainWindowOperationBar, RoleSwapPlaysTheChosenRolesDialogueTheFirstAfterTwoSeconds) {
    struct Case {
        const char* what;
        int role;  // -1: cancelled
        int sentence;
        bool delayed;
    } cases[] = {
        {"cancelled", -1, 0, false},
        {"second role", 1, 6, false},
        {"first role", 0, 5, true},
    };
    OpenFunction(ov::rRoleAct);
    for (const Case& c : cases) {
        ovtest::WhenModal([&](QWidget* modal) {
            auto* dialog = static_cast<ov::RoleDialog*>(modal);
            EXPECT_EQ(dialog->RoleChoices->height(), 80);
            EXPECT_EQ(dialog->height(), 160);
            const auto roles = dialog->RoleChoices->findChildren<QRadioButton*>();
            EXPECT_TRUE(roles.value(0) && roles[0]->isChecked()) << "the first role is chosen already";
            if (c.role < 0) return dialog->BtnCancel->click();
            roles[c.role]->setChecked(true);
            dialog->BtnOK->click();
        });
        QElapsedTimer clock;
        clock.start();
        Press(&ov::OperationBar::BtnStart);
        if (c.role >= 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return PlayingSentence() != 0; }, 5000)) << c.what;
        }
        const qint64 elapsed = clock.elapsed();
        EXPECT_EQ(PlayingSentence(), c.sentence) << c.what;
        if (c.delayed)
            EXPECT_GE(elapsed, 2 * ov::TFunctionConductor::kRoleDelayMs) << c.what;
        else
            EXPECT_LT(elapsed, ov::TFunctionConductor::kRoleDelayMs) << c.what;
        Press(&ov::OperationBar::BtnStop);
    }
}

// Whatever the pupil does in the two seconds before the first role, the role
// does not start by itself afterwards.
TEST_F(MainWindowOperationBar, ActionsBeforeTheFirstRoleStartsCancelIt) {
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"stop", [&] { Press(&ov::OperationBar::BtnStop); }},
        {"another function", [&] { OpenFunction(ov::rSentenceFollowRead); }},
    };
    for (const auto& [what, action] : actions) {
        OpenFunction(ov::rRoleAct);
        ovtest::WhenModal([](QWidget* modal) { static_cast<ov::RoleDialog*>(modal)->BtnOK->click(); });
        Press(&ov::OperationBar::BtnStart);
        QTest::qWait(ov::TFunctionConductor::kRoleDelayMs);
        action();
        QTest::qWait(2 * ov::TFunctionConductor::kRoleDelayMs);
        EXPECT_EQ(PlayingSentence(), 0) << what;
    }
}

// The game buttons and the page buttons turn the same pages: either way the
// page shows its game, and both sets of buttons and the label follow it.
TEST_F(MainWindowOperationBar, GamePagesTurnOnTheItemButtonsAndThePageButtons) {
    struct Step {
        QPushButton* button;
        const char* page;
        bool priorEnabled, nextEnabled;
    };
    const Button prior = &ov::OperationBar::BtnPrior, next = &ov::OperationBar::BtnNext;
    ov::LessonPanel& panel = Panel();
    const Step steps[] = {{Bar().*next, "g2", true, true},     {Bar().*next, "g3", true, false},
                          {Bar().*next, "g3", true, false},    {Bar().*prior, "g2", true, true},
                          {Bar().*prior, "g1", false, true},   {panel.LastBtn, "g3", true, false},
                          {panel.pirorBtn, "g2", true, true},  {panel.firstBtn, "g1", false, true},
                          {panel.NextBtn, "g2", true, true}};
    OpenFunction(ov::rGames);
    EXPECT_EQ(BoxFile(), "g1.ovb");
    EXPECT_EQ(GameShown(), "g1.swf");
    EXPECT_FALSE(Enabled(prior));
    EXPECT_TRUE(Enabled(next));
    for (const Step& s : steps) {
        s.button->click();
        const std::string what = s.button->text().toStdString() + " to " + s.page;
        EXPECT_TRUE(panel.Box->Active()) << what;
        EXPECT_EQ(BoxFile(), std::string(s.page) + ".ovb") << what;
        EXPECT_EQ(GameShown(), std::string(s.page) + ".swf") << what;
        EXPECT_EQ(panel.Box->RuleKind(), ov::rGames);
        EXPECT_EQ(PageLabel(), "第" + std::string(1, s.page[1]) + "页/共3页") << what;
        EXPECT_EQ(Enabled(prior), s.priorEnabled) << what;
        EXPECT_EQ(Enabled(next), s.nextEnabled) << what;
        EXPECT_EQ(panel.firstBtn->isEnabled(), s.priorEnabled) << what;
        EXPECT_EQ(panel.LastBtn->isEnabled(), s.nextEnabled) << what;
    }
    ov::TakeRecordedMessages();
}

}  // namespace
