#include "shell/ShellLook.h"

#include <QApplication>
#include <QFont>
#include <QPixmapCache>
#include <QStringList>

#include "present/PageFont.h"

namespace ov {
namespace {

// Colours: sky-blue frame, pale side panels, navy text, warm orange for the
// study function in use.
const char* const kStyleSheet = R"(
QWidget#PanelSizeLeft, QWidget#PanelLeftFunction {
    background: #EAF3FB;
}
QWidget#PanelSizeLeftContent, QWidget#PanelLeftFunctionContent {
    background: #EAF3FB;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
}
QLabel#CoursewareCaption, QLabel[shellRole="heading"] {
    color: #1F4E85;
    font-size: 11pt;
    font-weight: bold;
}
QWidget#CataloguePlace, QTreeView#CatalogueTree {
    background: #FFFFFF;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
    color: #1F4E85;
}
QProgressBar#UnpackBar {
    border: 1px solid #B9D3EE;
    border-radius: 3px;
    background: #FFFFFF;
    max-height: 15px;
    min-height: 15px;
}
QProgressBar#UnpackBar::chunk {
    background: #000080;
}
QPushButton {
    background: #FFFFFF;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
    color: #1F4E85;
    padding: 2px 8px;
}
QPushButton:hover { background: #DCEBFA; }
QPushButton:pressed { background: #C3DCF6; }
QPushButton:checked { background: #FFB340; border-color: #E0962A; color: #3A2400; }
QPushButton:disabled { color: #9AA9B8; border-color: #D5E2EF; }
QPushButton[shellRole="study"] {
    min-height: 36px;
    font-size: 11pt;
}
QWidget#PanelBottomShow {
    background: #F5F9FD;
    border-top: 1px solid #B9D3EE;
}
QWidget#PanelTopFunction {
    background: #EAF3FB;
}
QWidget#Lesson, QWidget#PWord, QWidget#StartScreen {
    background: #FFFFFF;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
}
QLabel#StartHeading {
    color: #1F4E85;
    font-size: 16pt;
    font-weight: bold;
}
QLabel#StartGuide, QLabel#ResumeWhere { color: #1F4E85; }
QWidget#ResumeBox {
    background: #EAF3FB;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
}
QPushButton#BtnResume {
    background: #FFB340;
    border-color: #E0962A;
    color: #3A2400;
    font-weight: bold;
    padding: 2px 24px;
}
QPushButton#BtnResume:hover { background: #FFC466; }
QToolButton#NoiseButton {
    background: #FFFFFF;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
    color: #1F4E85;
    padding: 0px 20px 0px 8px;
}
QToolButton#NoiseButton:hover { background: #DCEBFA; }
QToolButton#NoiseButton:pressed { background: #C3DCF6; }
QToolButton#NoiseButton::menu-indicator {
    subcontrol-origin: padding;
    subcontrol-position: center right;
    right: 4px;
}
QLabel#VolumeLabel, QLabel#SpeedLabel { color: #1F4E85; }
QLabel#labPage { color: #1F4E85; font-weight: bold; }
QToolButton[shellRole="topbar"] {
    color: #FFFFFF;
    background: transparent;
    border: 1px solid transparent;
    border-radius: 6px;
    padding: 2px;
}
QToolButton[shellRole="topbar"]:hover { background: rgba(255, 255, 255, 40); border-color: rgba(255, 255, 255, 90); }
QToolButton[shellRole="topbar"]:pressed { background: rgba(255, 255, 255, 70); }
QDialog#RoleDialog, QDialog#RecordWindow { background: #EAF3FB; }
QLabel#RecordHeading { color: #1F4E85; font-size: 11pt; font-weight: bold; }
QTableWidget#LessonTable, QListWidget#PractiseList, QChartView#ScoreChart {
    background: #FFFFFF;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
    color: #1F4E85;
}
QListWidget#PractiseList::item { padding: 4px; border-bottom: 1px solid #EAF3FB; }
QListWidget#PractiseList::item:hover { background: #DCEBFA; }
QHeaderView::section { background: #EAF3FB; color: #1F4E85; border: none; padding: 4px; font-weight: bold; }
QGroupBox#RoleChoices {
    background: #FFFFFF;
    border: 1px solid #B9D3EE;
    border-radius: 6px;
    margin-top: 28px;
    padding: 8px;
}
QGroupBox#RoleChoices::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    min-width: 177px;
    padding: 4px 0px;
    color: #FFFFFF;
    background: #4A90D9;
    border-radius: 6px;
    font-weight: bold;
}
QRadioButton { color: #1F4E85; spacing: 8px; }
)";

// Enough for the controls on screen. The style caches the panels it draws
// under keys that change from lesson to lesson, so a long session fills the
// cache with looks never drawn again: Qt's default of 10 MB ends up as 10 MB
// of them.
constexpr int kPixmapCacheKb = 512;

}  // namespace

void ApplyShellLook(QApplication& app) {
    QPixmapCache::setCacheLimit(kPixmapCacheKb);
    SubstituteLessonFaces();

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(10.5);
    app.setFont(font);
    app.setStyleSheet(QString::fromUtf8(kStyleSheet));
}

}  // namespace ov
