#include "present/LessonPanel.h"

#include "core/CoursewarePath.h"
#include "present/PageView.h"
#include "present/PictureStrip.h"
#include "present/SoundInfoPanel.h"
#include "present/RecordDisplay.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace ov {
namespace {

// The bar's controls stand 4 px inside it, in the window's own face and size.
constexpr int kControlHeight = 24;
constexpr int kPageButtonWidth = 40;
constexpr int kSpinnerWidth = 64;
constexpr int kPictureBandWidth = 20;

QPalette White(QPalette palette) {
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    return palette;
}

QWidget* WhitePanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    panel->setPalette(White(panel->palette()));
    return panel;
}

QLabel* PanelLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFixedHeight(kControlHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QSpinBox* Spinner(QWidget* parent, const char* name, const QString& accessibleName, int limit, int step) {
    auto* spinner = new QSpinBox(parent);
    spinner->setObjectName(QString::fromLatin1(name));
    spinner->setAccessibleName(accessibleName);
    spinner->setRange(-limit, limit);
    spinner->setSingleStep(step);
    spinner->setValue(0);
    spinner->setFixedSize(kSpinnerWidth, kControlHeight);
    return spinner;
}

// A row of the bar: 4 px above and below its controls (the panel starts
// below the separator), 20 px from its side, 4 px between controls that
// belong together and 16 px between those that do not.
constexpr int kGroupSpacing = 12;

QHBoxLayout* BarRow(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(20, 3, 20, 4);
    row->setSpacing(4);
    return row;
}

}  // namespace

LessonPanel::LessonPanel(const std::filesystem::path& programFolder, int screenWidth,
                                     std::shared_ptr<WaveInputDriver> driver, QWidget* parent)
    : QWidget(parent), FProgramFolder(programFolder), FLeftBorderWidth(LeftBorderWidthFor(screenWidth)) {
    setObjectName(QStringLiteral("Lesson"));
    setAutoFillBackground(true);
    setPalette(White(palette()));

    BuildBottomBar();
    BottomImagePanel = Strip("BottomImagePanel", "BOTTOM.bmp");
    BottomImagePanel->resize(width(), kBottomImageHeight);
    InfoPanel = new SoundInfoPanel(programFolder, std::move(driver), this);
    InfoPanel->resize(width(), kInfoPanelHeight);
    TopStrip = Strip("TopStrip", "TOP.bmp");
    TopStrip->resize(width(), FTopStripHeight);
    LeftBorder = Strip("LeftBorder", "left.bmp", kPictureBandWidth, Qt::AlignLeft);
    RightBorder = Strip("RightBorder", "right.bmp", kPictureBandWidth, Qt::AlignRight);
    Box = new PageView(this);
    Box->setObjectName(QStringLiteral("Box"));
    Box->setFrameShape(QFrame::NoFrame);
    Box->setPalette(White(Box->palette()));
    Box->viewport()->setAutoFillBackground(true);
    Box->SetInfoPanel(InfoPanel);

    SetMainSoundSpeed(kNormalSpeed);
    AlignChildren();
}

LessonPanel::~LessonPanel() {
    Box->SetActive(false);
    // The box plays through the info panel's displays, so it goes first.
    delete Box;
    delete BottomBar;
}

void LessonPanel::BuildBottomBar() {
    BottomBar = WhitePanel(this, "BottomBar");
    BottomBar->resize(width(), kBottomBarHeight);
    Separator = new QFrame(BottomBar);
    Separator->setObjectName(QStringLiteral("Separator"));
    Separator->setFrameShape(QFrame::HLine);
    Separator->setFrameShadow(QFrame::Plain);
    Separator->setStyleSheet(QStringLiteral("color: #B9D3EE;"));
    BuildNavPanel();
    BuildSoundPanel();
}

void LessonPanel::BuildNavPanel() {
    NavPanel = WhitePanel(BottomBar, "NavPanel");
    QHBoxLayout* row = BarRow(NavPanel);
    firstBtn = PageButton("firstBtn", QStringLiteral("<<"), QStringLiteral("首页"));
    pirorBtn = PageButton("pirorBtn", QStringLiteral("<"), QStringLiteral("前一页"));
    NextBtn = PageButton("NextBtn", QStringLiteral(">"), QStringLiteral("后一页"));
    LastBtn = PageButton("LastBtn", QStringLiteral(">>"), QStringLiteral("尾页"));
    for (QPushButton* button : {firstBtn, pirorBtn, NextBtn, LastBtn}) row->addWidget(button);
    row->addSpacing(kGroupSpacing);
    labPage = PanelLabel(NavPanel, "labPage", {});
    labPage->setAttribute(Qt::WA_TranslucentBackground);
    row->addWidget(labPage, 1);
}

QPushButton* LessonPanel::PageButton(const char* name, const QString& caption, const QString& hint) {
    auto* button = new QPushButton(caption, NavPanel);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(kPageButtonWidth, kControlHeight);
    // Screen readers name the button by its caption and describe it by the hint.
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral("color: black; font-weight: bold; padding: 0px;"));
    button->hide();
    return button;
}

void LessonPanel::BuildSoundPanel() {
    SoundPanel = WhitePanel(BottomBar, "SoundPanel");
    QHBoxLayout* row = BarRow(SoundPanel);
    NoiseButton = new QToolButton(SoundPanel);
    NoiseButton->setObjectName(QStringLiteral("NoiseButton"));
    NoiseButton->setText(QStringLiteral("场景音"));
    NoiseButton->setFixedHeight(kControlHeight);
    NoiseButton->setPopupMode(QToolButton::InstantPopup);
    NoiseButton->setAutoRaise(true);
    NoiseButton->setCursor(Qt::PointingHandCursor);
    VolumeLabel = PanelLabel(SoundPanel, "VolumeLabel", QStringLiteral("场景音量"));
    VolumeSpinner = Spinner(SoundPanel, "VolumeSpinner", QStringLiteral("场景音量"), 50, 10);
    SpeedLabel = PanelLabel(SoundPanel, "SpeedLabel", QStringLiteral("语速  "));
    SpeedSpinner = Spinner(SoundPanel, "SpeedSpinner", QStringLiteral("语速"), 30, 5);
    row->addWidget(NoiseButton);
    for (const auto& [label, spinner] : {std::pair{VolumeLabel, VolumeSpinner}, std::pair{SpeedLabel, SpeedSpinner}}) {
        row->addSpacing(kGroupSpacing);
        row->addWidget(label);
        row->addWidget(spinner);
    }
    row->addStretch(1);
}

TPictureStrip* LessonPanel::Strip(const char* name, const char* picture, int bandWidth, Qt::Alignment side) {
    auto* strip = new TPictureStrip(this);
    strip->setObjectName(QString::fromLatin1(name));
    strip->ShowPicture(ResolveCoursewarePath(FProgramFolder, std::string("Images/") + picture), bandWidth, side);
    return strip;
}

void LessonPanel::AlignChildren() {
    const int w = width(), h = height();
    int top = 0, bottom = h;
    InfoPanel->setGeometry(0, top, w, InfoPanel->height());
    top += InfoPanel->height();
    TopStrip->setGeometry(0, top, w, FTopStripHeight);
    top += FTopStripHeight;
    bottom -= BottomBar->height();
    BottomBar->setGeometry(0, bottom, w, BottomBar->height());
    bottom -= BottomImagePanel->height();
    BottomImagePanel->setGeometry(0, bottom, w, BottomImagePanel->height());
    const int middle = std::max(0, bottom - top);
    LeftBorder->setGeometry(0, top, FLeftBorderWidth, middle);
    RightBorder->setGeometry(w - kRightBorderWidth, top, kRightBorderWidth, middle);
    Box->setGeometry(FLeftBorderWidth, top, std::max(0, w - FLeftBorderWidth - kRightBorderWidth), middle);

    const int half = w / 2;
    Separator->setGeometry(0, 0, w, 1);
    NavPanel->setGeometry(0, 1, half, BottomBar->height() - 1);
    SoundPanel->setGeometry(w - half, 1, half, BottomBar->height() - 1);
}

void LessonPanel::PanelResize() {
    BottomBar->resize(width(), kBottomBarHeight);
    InfoPanel->resize(width(), kInfoPanelHeight);
    FTopStripHeight = kTopStripHeight;
    AlignChildren();
    InfoPanel->LayOut();
    for (QWidget* display : {static_cast<QWidget*>(InfoPanel->Sound), static_cast<QWidget*>(InfoPanel->Recorder)})
        display->setGeometry(display->x(), 0, display->width(), InfoPanel->height());

    // Three equal gaps over the box, only when both displays fit beside each other.
    const int room = Box->width(), sound = InfoPanel->Sound->width(), recorder = InfoPanel->Recorder->width();
    if (sound + recorder < room) {
        const int gap = (room - sound - recorder) / 3;
        InfoPanel->Sound->move(gap, 0);
        InfoPanel->Recorder->move(sound + gap * 2, 0);
    }
}

void LessonPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PanelResize();
}

double LessonPanel::CompareRecording() {
    try {
        return ov::CompareRecording(FScorer, InfoPanel->Sound->Samples(), InfoPanel->Recorder->Samples());
    } catch (...) {
        return 0;
    }
}

void LessonPanel::SetMainSoundSpeed(int value) {
    if (value <= 0 || value == FMainSoundSpeed) return;
    FMainSoundSpeed = value;
    Box->SetSpeechSpeed(value);
}

}  // namespace ov
