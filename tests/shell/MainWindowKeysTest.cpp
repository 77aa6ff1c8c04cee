#include "StudyWindow.h"

#include "LessonText.h"

#include "lesson/FunctionIndexFile.h"
#include "present/AnswerEdit.h"
#include "present/ScriptPlayer.h"
#include "shell/CollapsiblePanel.h"
#include "shell/FunctionColumn.h"
#include "support/SilentSound.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSpinBox>

#include <functional>

namespace {

namespace fs = std::filesystem;

// A page of sentence follow-reading: one sentence its rule reads aloud, and
// an answer edit.
std::string KeyPage(int number) {
    return lessontest::LessonXml(
        {{"alls", R"(<s Id="1" Audio="s1.wav" Font_Size="12" Font_Style="Arial" Font_Color="0" RuleStyle="0" )"
                  R"(RuleId="-1"><w Id="1" Top="20" Left="20" Visible="True" CanMove="False">page)" +
                      std::to_string(number) + "</w></s>"},
         {"alledit", R"(<e Id="1" Top="60" Left="20" Caption="" RuleId="-1" Width="100"/>)"},
         {"SentenceFollowReads", R"(<r Id="0">[0,0,1,1]</r>)"}});
}

// Sentence follow-reading with three pages, open on the first with its button
// focused, as after the pupil's click.
class MainWindowKeys : public ovtest::StudyWindowTest {
protected:
    void SetUp() override {
        StudyWindowTest::SetUp();
        window->show();
        OpenLesson();
        FunctionButton()->click();
        FunctionButton()->setFocus(Qt::MouseFocusReason);
    }
    void TearDown() override {
        Panel().Box->Script().StopAll();
        StudyWindowTest::TearDown();
    }

    void FillClass(const fs::path& cls) override {
        for (int page = 1; page <= 3; ++page) WritePage(cls / ("p" + std::to_string(page) + ".ov"), KeyPage(page));
        ASSERT_TRUE(ovtest::WriteSilence(cls / "s1.wav", 3000));
        ov::FunctionIndexFile index(cls, "OVFunction.ind", true);
        index.SetPageList(ov::rSentenceFollowRead, "p1.ov|p2.ov|p3.ov");
        index.Save();
    }

    QPushButton* FunctionButton() const { return window->PanelLeftFunction->Button(ov::rSentenceFollowRead); }
    ov::TAnswerEdit* Edit() const {
        for (const ov::TBoxItem& item : Panel().Box->PageItems())
            if (item.Kind == ov::ikEdit) return static_cast<ov::TAnswerEdit*>(item.Control);
        return nullptr;
    }
    void Focus(QWidget* widget) {
        if (widget) return widget->setFocus(Qt::OtherFocusReason);
        if (QWidget* focused = window->focusWidget()) focused->clearFocus();
    }
    // A key pressed and let go where it arrives: at the focused control, or at
    // the window when none has the focus.
    void Key(int key, bool held = false) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window.get();
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, held);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text, held);
        QApplication::sendEvent(target, &release);
    }
    std::string PageLabel() const { return Panel().labPage->text().toStdString(); }
    bool Reading() const { return Panel().Box->Script().Running(); }
};

TEST_F(MainWindowKeys, PageKeysAndArrowsTurnPagesUnlessTheFocusedControlNeedsThem) {
    struct Step {
        const char* what;
        std::function<QWidget*()> focus;
        int key;
        bool held;
        int page;
    };
    const auto button = [this] { return static_cast<QWidget*>(FunctionButton()); };
    const auto nothing = [] { return static_cast<QWidget*>(nullptr); };
    const auto edit = [this] { return static_cast<QWidget*>(Edit()); };
    const Step steps[] = {
        {"function button", button, Qt::Key_PageDown, false, 2},
        {"function button", button, Qt::Key_Right, false, 3},
        {"on the last page", button, Qt::Key_PageDown, false, 3},
        {"function button", button, Qt::Key_Left, false, 2},
        {"operation button", [this] { return static_cast<QWidget*>(Bar().BtnStart); }, Qt::Key_PageUp, false, 1},
        {"nothing", nothing, Qt::Key_Right, false, 2},
        {"held down", nothing, Qt::Key_PageDown, true, 2},
        {"answer edit", edit, Qt::Key_PageDown, false, 2},
        {"answer edit", edit, Qt::Key_Left, false, 2},
        {"volume spinner", [this] { return static_cast<QWidget*>(Panel().VolumeSpinner); }, Qt::Key_PageUp, false, 2},
        {"nothing", nothing, Qt::Key_PageUp, false, 1},
    };
    for (const Step& s : steps) {
        Focus(s.focus());
        Key(s.key, s.held);
        EXPECT_EQ(PageLabel(), "第" + std::to_string(s.page) + "页/共3页") << s.what << ", key " << s.key;
        EXPECT_TRUE(FunctionButton()->isChecked()) << "the arrows stay off the function column: " << s.what;
    }

    // The catalogue tree, opened again, keeps its own paging and arrows.
    window->PanelSizeLeft->Restore();
    Focus(window->Catalogue);
    for (int key : {Qt::Key_PageDown, Qt::Key_Right}) Key(key);
    EXPECT_EQ(PageLabel(), "第1页/共3页");
}

TEST_F(MainWindowKeys, SpaceStartsAndStopsUnlessAnEditOrAButtonHasTheFocus) {
    for (const auto& [what, focus] : {std::pair<const char*, QWidget*>{"nothing", nullptr}, {"the page", Panel().Box}}) {
        Focus(focus);
        Key(Qt::Key_Space);
        EXPECT_TRUE(Reading()) << what;
        Key(Qt::Key_Space);
        EXPECT_FALSE(Reading()) << what;
    }

    Focus(Edit());
    Key(Qt::Key_Space);
    EXPECT_FALSE(Reading());
    EXPECT_EQ(Edit()->text(), " ") << "the edit took its space";

    // The focused button keeps Space and is pressed by it: the function opens
    // again on its first page.
    Focus(nullptr);
    Key(Qt::Key_PageDown);
    Focus(FunctionButton());
    Key(Qt::Key_Space);
    EXPECT_FALSE(Reading());
    EXPECT_EQ(PageLabel(), "第1页/共3页");
}

TEST_F(MainWindowKeys, F11TogglesFullScreenWhateverHasTheFocus) {
    const Qt::WindowStates before = window->windowState();
    Focus(Edit());
    Key(Qt::Key_F11);
    EXPECT_TRUE(window->isFullScreen());
    Focus(nullptr);
    Key(Qt::Key_F11);
    EXPECT_EQ(window->windowState(), before);
}

TEST_F(MainWindowKeys, TheButtonsNameTheirKeys) {
    EXPECT_EQ(Panel().NextBtn->toolTip(), "后一页\n快捷键：Page Down、→");
    EXPECT_EQ(Panel().pirorBtn->toolTip(), "前一页\n快捷键：Page Up、←");
    EXPECT_EQ(Panel().NextBtn->accessibleDescription(), "后一页");
    EXPECT_EQ(Bar().BtnStart->toolTip(), "快捷键：空格");
    EXPECT_EQ(Bar().BtnStop->toolTip(), "快捷键：空格");
}

}  // namespace
