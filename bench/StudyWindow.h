// The main window offscreen on a program folder, driven as the pupil drives
// it: catalogue clicks, study-function buttons and page buttons, each timed up
// to the window painted. Shared by the benches of the study side.
#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTreeWidgetItemIterator>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "BenchFigures.h"
#include "core/DataFolders.h"
#include "lesson/FunctionIndexFile.h"
#include "present/PageView.h"
#include "present/LessonPanel.h"
#include "shell/FunctionColumn.h"
#include "shell/MallocArenas.h"
#include "shell/OVRzTreeView.h"
#include "shell/MainWindow.h"
#include "store/LessonData.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline QtMessageHandler& DefaultMessages() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

// The offscreen platform says so for every window it shows, which would bury
// the figures; every other message passes.
inline void DropOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    DefaultMessages()(type, context, message);
}

// Before the QApplication: the player's allocator limits, offscreen, silent
// audio, quiet platform.
inline void PrepareOffscreen() {
    ov::LimitMallocArenas();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("OV_AUDIO_DRIVER")) qputenv("OV_AUDIO_DRIVER", "dummy");
    DefaultMessages() = qInstallMessageHandler(DropOffscreenNotes);
}

class StudyWindow {
public:
    StudyWindow(const char* bench, const std::filesystem::path& home) : bench_(bench), window_(dm_, ov::DataFolders::InOneFolder(home)) {
        window_.resize(1280, 800);
        window_.show();
        window_.TimerFormShowTimer();
        window_.SetUnpackPauseMs(0);
        QApplication::processEvents();
    }

    ov::MainWindow& Window() { return window_; }
    ov::PageView& Box() { return *window_.Panel()->Box; }
    [[noreturn]] void Fail(const std::string& why) const { bench::Fail(bench_, why); }

    // A catalogue node, its parents clicked first when the tree has not
    // loaded it yet (the tree loads one level per click).
    QTreeWidgetItem* Node(const QString& code) {
        if (QTreeWidgetItem* node = Find(code)) return node;
        for (int length = 2; length < code.size(); length += 2) {
            QTreeWidgetItem* parent = Find(code.left(length));
            if (!parent) break;
            Click(parent);
        }
        if (QTreeWidgetItem* node = Find(code)) return node;
        Fail("no catalogue node " + code.toStdString());
    }

    // Milliseconds from the click on the node to the window painted.
    double Click(QTreeWidgetItem* node) {
        ov::TOVRzTreeView& tree = *window_.Catalogue;
        tree.setCurrentItem(node);
        const auto start = Clock::now();
        tree.Click();
        // A lesson opens on after the click, once its worker has unpacked it.
        while (window_.OpeningLesson()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window_.repaint();
        return MillisecondsSince(start);
    }

    // Milliseconds from the function button to its first page painted; the
    // word preview is shown before, as after opening a lesson.
    double OpenFunction(ov::TOVRule kind) {
        window_.PanelLeftFunction->BtnWordRepare->click();
        QApplication::processEvents();
        const auto start = Clock::now();
        Buttons().at(kind)->click();
        window_.repaint();
        const double elapsed = MillisecondsSince(start);
        if (!Box().Active() || Box().RuleKind() != kind) Fail("the function does not open");
        return elapsed;
    }

    // Milliseconds from a page button to the new page painted: forward until
    // the last page, then back.
    double TurnPage() {
        ov::LessonPanel& panel = *window_.Panel();
        QPushButton* button = panel.NextBtn->isEnabled() ? panel.NextBtn : panel.pirorBtn;
        const QString before = Box().FileName();
        QApplication::processEvents();
        const auto start = Clock::now();
        button->click();
        window_.repaint();
        const double elapsed = MillisecondsSince(start);
        if (!Box().Active() || Box().FileName() == before) Fail("the page does not turn");
        return elapsed;
    }

    // The functions of the open lesson that have pages, with their page counts.
    std::map<int, size_t> FunctionPages() {
        std::map<int, size_t> pages;
        ov::FunctionIndexFile index(window_.State().ClassPath, "OVFunction.ind", false);
        for (const auto& [kind, button] : Buttons()) {
            const auto list = index.GetPageList(static_cast<ov::TOVRule>(kind));
            if (list && !list->empty()) pages[kind] = list->size();
        }
        return pages;
    }

private:
    QTreeWidgetItem* Find(const QString& code) const {
        for (QTreeWidgetItemIterator it(window_.Catalogue); *it; ++it)
            if (ov::TOVRzTreeView::NodeCode(*it) == code) return *it;
        return nullptr;
    }

    std::map<int, QPushButton*> Buttons() const {
        std::map<int, QPushButton*> buttons;
        for (const auto& [button, kind] : window_.PanelLeftFunction->FunctionButtons()) buttons[kind] = button;
        return buttons;
    }

    const char* bench_;
    ov::LessonData dm_;
    ov::MainWindow window_;
};

}  // namespace bench
