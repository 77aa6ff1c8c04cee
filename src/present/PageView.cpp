#include "present/PageView.h"

#include "core/CoursewarePath.h"
#include "core/HeldMessages.h"
#include "core/MessageHook.h"
#include "lesson/LessonDocument.h"
#include "present/MovieControl.h"
#include "present/PageSound.h"
#include "present/ReadingCheck.h"
#include "present/RectShape.h"
#include "present/ScriptPlayer.h"
#include "present/SentenceWord.h"
#include "present/SoundInfoPanel.h"
#include "present/WordTiming.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <filesystem>

namespace ov {

namespace {

constexpr int kWheelStep = 10;

QPalette WhitePalette(QPalette palette) {
    palette.setColor(QPalette::Window, Qt::white);
    return palette;
}

bool IsRightPress(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
    // Here the context menu comes from the press itself, so it goes with it.
    case QEvent::ContextMenu:
        return static_cast<const QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
    default:
        return false;
    }
}

}  // namespace

PageView::PageView(QWidget* parent)
    : QScrollArea(parent),
      page_(new QWidget),
      speechSpeed_(kNormalSpeechSpeed),
      sound_(std::make_unique<PageSound>(*this)),
      script_(std::make_unique<ScriptPlayer>(*this, *sound_)) {
    setFrameShape(QFrame::NoFrame);
    setPalette(WhitePalette(palette()));
    setAutoFillBackground(true);
    viewport()->setPalette(WhitePalette(viewport()->palette()));
    viewport()->setAutoFillBackground(true);
    page_->setPalette(WhitePalette(page_->palette()));
    page_->setAutoFillBackground(true);
    page_->resize(0, 0);
    setWidget(page_);

    dropCaret_ = new TRectShape(page_, QColor(0, 0, 255));
    dropCaret_->resize(1, 20);
    dropCaret_->hide();
    dragLabel_ = new QLabel(page_);
    dragLabel_->setAttribute(Qt::WA_TranslucentBackground);
    dragLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette green = dragLabel_->palette();
    green.setColor(QPalette::WindowText, QColor(0, 0x80, 0));
    dragLabel_->setPalette(green);
    dragLabel_->hide();

    qApp->installEventFilter(this);
}

PageView::~PageView() {
    ClearItems();
    qApp->removeEventFilter(this);
    active_ = false;
}

void PageView::SetActive(bool value) {
    if (value == active_) return;
    if (value) {
        Activate();
    } else {
        Deactivate();
    }
}

void PageView::Activate() {
    const std::filesystem::path folder = filePath_.toStdString();
    const std::string name = fileName_.toStdString();
    std::error_code error;
    if (name.empty() || filePath_.isEmpty() ||
        !std::filesystem::is_regular_file(ResolveCoursewarePath(folder, name), error)) {
        ShowMessageEx("提示", "未找到资源文件", 0);
        return;
    }
    // The messages of the build are shown once the page stands: a modal
    // dialog runs timers and clicks while the build holds references into it.
    HeldMessages messages;
    try {
        document_ = std::make_unique<LessonDocument>(folder, name, false);
        active_ = BuildPage();
        if (!active_) document_.reset();
    } catch (const std::exception&) {
        script_->StopAll();
        ClearItems();
        document_.reset();
    }
    messages.Release("present");
}

void PageView::Deactivate() {
    try {
        script_->StopAll();
        ClearItems();
        document_.reset();
        active_ = false;
    } catch (const std::exception&) {
        script_->StopAll();
        ClearItems();
    }
}

void PageView::ClearItems() {
    dragging_ = false;
    dropCaret_->hide();
    dragLabel_->hide();
    while (!pageItems_.isEmpty()) {
        FreeItem(pageItems_.takeLast());
    }
    // Whatever played on the page ends with it, and what was said of it.
    script_->Forget();
    if (infoPanel_) infoPanel_->Reading->Clear();
    for (const TBoxItem& item : overlays_) delete item.Control;
    overlays_.clear();
    page_->resize(0, 0);
}

void PageView::FreeItem(const TBoxItem& item) {
    if (item.Kind == ikMovie) {
        auto* movie = dynamic_cast<TMovieControl*>(item.Control);
        if (movie && movie->Playing()) movie->StopPlay();
    }
    delete item.Control;
}

QList<TMovieControl*> PageView::Movies() const {
    QList<TMovieControl*> movies;
    for (const TBoxItem& item : pageItems_) {
        auto* movie = item.Kind == ikMovie ? dynamic_cast<TMovieControl*>(item.Control) : nullptr;
        if (movie) movies.append(movie);
    }
    return movies;
}

void PageView::PlayMovies() {
    for (TMovieControl* movie : Movies())
        if (!movie->Playing()) movie->Play();
}

void PageView::StopMovies() {
    for (TMovieControl* movie : Movies())
        if (movie->Playing()) movie->StopPlay();
}

bool PageView::MoviesPlaying() const {
    const QList<TMovieControl*> movies = Movies();
    return std::any_of(movies.begin(), movies.end(), [](const TMovieControl* movie) { return movie->Playing(); });
}

void PageView::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (event->angleDelta().y() >= 0 ? -kWheelStep : kWheelStep));
    event->accept();
}

bool PageView::eventFilter(QObject* watched, QEvent* event) {
    if (IsRightPress(event)) return true;
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace ov
