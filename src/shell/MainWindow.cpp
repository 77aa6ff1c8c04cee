#include "shell/MainWindow.h"

#include "present/LessonPanel.h"
#include "shell/ApplicationTitle.h"
#include "shell/CollapsiblePanel.h"
#include "shell/FunctionColumn.h"
#include "shell/HelpPage.h"
#include "shell/OpeningAnimation.h"
#include "shell/OperationBar.h"
#include "shell/PaintedPictures.h"
#include "shell/PruneRecords.h"
#include "shell/ShellSettings.h"
#include "shell/TopBarPanel.h"
#include "study/FunctionConductor.h"
#include "study/WordPanel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <system_error>

namespace ov {
namespace {

constexpr int kBottomHeight = 45;
constexpr int kSystemSetWidth = 121;
const char* const kShopPage = "https://shop.orvane.example/";
const char* const kHomePage = "https://www.orvane.example/";

}  // namespace

MainWindow::MainWindow(LessonData& dm, DataFolders folders, ProgressRecorder* progress)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      dm_(dm),
      folders_(std::move(folders)),
      progress_(progress) {
    setObjectName(QStringLiteral("FrmClassShow"));
    BuildRegions();
    BuildCatalogueTree();
    ConnectTopBar();
    WireLessonPanel();
    BuildStudy();
    BuildClassroomKeys();

    TimerFormShow = new QTimer(this);
    TimerFormShow->setObjectName(QStringLiteral("TimerFormShow"));
    TimerFormShow->setInterval(kDeferredSetUpMs);
    connect(TimerFormShow, &QTimer::timeout, this, &MainWindow::TimerFormShowTimer);
    TimerFormShow->start();

    FormCreate();
}

void MainWindow::BuildRegions() {
    PanelTop = new TopBarPanel(this);
    PanelSizeLeft = new CollapsiblePanel(this);
    PanelLeftFunction = new FunctionColumn(this);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(PanelSizeLeft);
    middle->addWidget(PanelLeftFunction);
    middle->addWidget(BuildContentArea(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelTop);
    layout->addLayout(middle, 1);
    layout->addWidget(BuildBottomPanel());
}

QWidget* MainWindow::BuildContentArea() {
    PanelTopFunction = new QWidget(this);
    PanelTopFunction->setObjectName(QStringLiteral("PanelTopFunction"));
    PanelTopFunction->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QGridLayout(PanelTopFunction);
    layout->setContentsMargins(4, 4, 4, 4);
    BuildLessonPanel();
    PWord = new TWordPanel(dm_, state_);
    PWord->hide();
    PlaceContentPanel(PWord, QStringLiteral("PWord"));
    BuildStartScreen();
    return PanelTopFunction;
}

QWidget* MainWindow::BuildBottomPanel() {
    PanelBottomShow = new QWidget(this);
    PanelBottomShow->setObjectName(QStringLiteral("PanelBottomShow"));
    PanelBottomShow->setAttribute(Qt::WA_StyledBackground);
    PanelBottomShow->setFixedHeight(kBottomHeight);

    auto* badge = new QLabel(PanelBottomShow);
    badge->setObjectName(QStringLiteral("PanelSystemSet"));
    badge->setFixedWidth(kSystemSetWidth);
    badge->setAlignment(Qt::AlignCenter);
    badge->setPixmap(ProgramBadge(QSize(kSystemSetWidth - 16, kBottomHeight - 14)));
    PanelSystemSet = badge;

    PanelBottomShowOperation = new OperationBar(PanelBottomShow);
    connect(PanelBottomShowOperation->BtnExit, &QPushButton::clicked, this, &MainWindow::BtnExitClick);

    auto* layout = new QHBoxLayout(PanelBottomShow);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelSystemSet);
    layout->addWidget(PanelBottomShowOperation, 1);
    return PanelBottomShow;
}

void MainWindow::ConnectTopBar() {
    connect(PanelTop->ShopButton, &QToolButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kShopPage))); });
    connect(PanelTop->HomeButton, &QToolButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage))); });
    connect(PanelTop->RecordButton, &QToolButton::clicked, this, &MainWindow::OpenLearningRecord);
    connect(PanelTop->HelpButton, &QToolButton::clicked, this, &MainWindow::OpenHelp);
    connect(PanelTop->BtnMinimise, &QToolButton::clicked, this, &QWidget::showMinimized);
    connect(PanelTop->CloseButton, &QToolButton::clicked, this, &QWidget::close);
}

void MainWindow::PlaceContentPanel(QWidget* panel, const QString& name) {
    panel->setObjectName(name);
    panel->setAttribute(Qt::WA_StyledBackground);
    static_cast<QGridLayout*>(PanelTopFunction->layout())->addWidget(panel, 0, 0);
    // Both fill the area; the word panel lies on top and shows while visible.
    if (PWord) PWord->raise();
}

MainWindow::~MainWindow() = default;

void MainWindow::FormCreate() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    setWindowState(Qt::WindowMaximized);
    openingStyle_ = AdvanceShowStyle(*OpenOrvaneSettings());
    setWindowTitle(ApplicationTitle());
    ArrangeOperationButtons({});
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    if (openingStyle_ && !openingAnimated_) {
        openingAnimated_ = true;
        (new OpeningAnimation(this, *openingStyle_))->Start();
    }
    FormShow();
}

void MainWindow::FormShow() {
    PanelLeftFunction->hide();
    PruneRecords(RecordsFolder());
    PanelSizeLeft->Restore();
}

void MainWindow::TimerFormShowTimer() {
    TimerFormShow->stop();
    if (setUpDone_) return;
    setUpDone_ = true;
    LoadCatalogueTree();
    OfferLastLesson();
}

void MainWindow::ArrangeOperationButtons(const std::vector<TOperationButton>& shown) {
    PanelBottomShowOperation->ArrangeOperationButtons(shown);
}

void MainWindow::BringToFront() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    show();
    raise();
    activateWindow();
}

void MainWindow::BtnExitClick() {
    // A word drill that is running checks this flag between words.
    state_.StopWord = true;
    close();
}

void MainWindow::OpenHelp() {
    const auto help = FindHelpFile(folders_.Primary(), QCoreApplication::applicationDirPath().toStdString());
    if (!help.empty()) QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(help.string())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    PWord->EndDrill();
    RecordLessonClosed();
    // The lesson panel goes first so its sounds and recorder stop before the
    // rest of the window is torn down.
    delete Lesson;
    Lesson = nullptr;
    event->accept();
}

}  // namespace ov
