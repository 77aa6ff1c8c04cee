// What the window shows before the first lesson: the start screen, with the
// lesson opened last when the catalogue still has it.
#include "shell/MainWindow.h"

#include "present/LessonPanel.h"
#include "shell/CatalogueModel.h"
#include "shell/CatalogueTree.h"
#include "shell/ShellSettings.h"
#include "shell/StartScreen.h"
#include "store/LessonData.h"

#include <QSettings>

#include <stdexcept>

namespace ov {

void MainWindow::BuildStartScreen() {
    StartPanel = new StartScreen;
    PlaceContentPanel(StartPanel, QStringLiteral("StartScreen"));
    StartPanel->raise();
    // The lesson panel's controls would be reached by the keyboard and a
    // screen reader behind it.
    Lesson->hide();
    connect(StartPanel, &StartScreen::resumeClicked, this, &MainWindow::ResumeLastLesson);
}

void MainWindow::OfferLastLesson() {
    if (Catalogue->Model().rowCount() == 0) return StartPanel->TellNoCourseware();
    lastLesson_ = FindLastLesson();
    QStringList where;
    if (!lastLesson_.empty()) {
        // Textbook, unit and lesson: the grade between says less than the unit's name.
        where << QString::fromStdString(lastLesson_.front().name);
        if (lastLesson_.size() > 2) where << QString::fromStdString(lastLesson_[lastLesson_.size() - 2].name);
        if (lastLesson_.size() > 1) where << QString::fromStdString(lastLesson_.back().name);
    }
    StartPanel->AskForLesson(where);
}

std::vector<CatalogueNode> MainWindow::FindLastLesson() const {
    const QString code = ReadLastLesson(*OpenOrvaneSettings());
    return code.isEmpty() ? std::vector<CatalogueNode>() : LessonPath(code.toStdString());
}

// The catalogue may have changed since the code was kept: a code it no longer
// has, or one that has become a unit, leads nowhere.
std::vector<CatalogueNode> MainWindow::LessonPath(const std::string& code) const {
    try {
        std::vector<CatalogueNode> path = ReadPathTo(&dm_.adoConn, MainCatalogueLayout(), code);
        if (path.empty() || Catalogue->Model().HasRecordsBelow(QString::fromStdString(code))) return {};
        return path;
    } catch (const std::runtime_error&) {
        return {};
    }
}

void MainWindow::ResumeLastLesson() { ClickDownTo(lastLesson_); }

// Down the tree as the pupil would click it, so the tree, the side panel and
// the lesson end as after the pupil's own clicks.
void MainWindow::ClickDownTo(const std::vector<CatalogueNode>& path) {
    for (const CatalogueNode& node : path) {
        const QModelIndex found = Catalogue->Model().Find(QString::fromStdString(node.code));
        if (!found.isValid()) return;
        Catalogue->Click(found);
    }
}

void MainWindow::CloseStartScreen() {
    if (StartPanel->isHidden()) return;
    StartPanel->hide();
    Lesson->show();
}

}  // namespace ov
