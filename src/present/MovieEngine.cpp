#include "present/MovieEngine.h"

#include "present/MovieFiles.h"
#include "present/MoviePage.h"
#include "present/MovieRequestFilter.h"

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace ov {
namespace {

constexpr int kSpareViews = 2;
// Long enough for a page turn or a move between two movie functions.
constexpr int kSpareLifeMs = 1000;
// A pointer that rested on a movie function's button and went on: long
// enough for a pupil who hesitates, short enough not to keep a renderer for
// nothing.
constexpr int kWarmPageLifeMs = 20000;
const char* const kReadyProperty = "ovMoviePageReady";

TMovieEngine* engine = nullptr;

void SecureSettings(QWebEngineSettings* settings) {
    // Movie sound must start without a click on the movie, as it did in the
    // original Flash control.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
}

}  // namespace

TMovieEngine& TMovieEngine::Instance() {
    if (!engine) engine = new TMovieEngine;
    return *engine;
}

bool TMovieEngine::Started() { return engine != nullptr; }

void CloseMovieEngineModule() {
    if (!engine) return;
    // A window closed last may still wait for its deletion, with its movies.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete engine;
}

TMovieEngine::TMovieEngine() {
    const QString folder = RuffleFolder();
    if (!folder.isEmpty()) pageUrl_ = QUrl::fromLocalFile(folder + "/movie.html");
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    SecureSettings(profile_->settings());
    filter_ = new TMovieRequestFilter(this);
    filter_->Allow(folder);
    filter_->Allow(MovieFontFile());
    profile_->setUrlRequestInterceptor(filter_);
    dropSpares_.setSingleShot(true);
    dropSpares_.setInterval(kSpareLifeMs);
    connect(&dropSpares_, &QTimer::timeout, this, &TMovieEngine::DropSpares);
    dropWarmPage_.setSingleShot(true);
    dropWarmPage_.setInterval(kWarmPageLifeMs);
    connect(&dropWarmPage_, &QTimer::timeout, this, &TMovieEngine::DropWarmPage);
}

TMovieEngine::~TMovieEngine() {
    for (const QPointer<QWebEngineView>& view : spare_) delete view;
    spare_.clear();
    DropWarmPage();
    delete profile_;
    engine = nullptr;
}

QWebEnginePage* TMovieEngine::NewPage(QObject* parent) {
    auto* page = new TMoviePage(profile_, pageUrl_, parent);
    // Until Ruffle draws, the movie's rectangle shows the file's name beneath.
    page->setBackgroundColor(Qt::transparent);
    connect(page, &QWebEnginePage::loadFinished, this, [this, page](bool ok) {
        page->setProperty(kReadyProperty, ok);
        emit PageReady(page, ok);
    });
    if (!pageUrl_.isEmpty()) page->load(pageUrl_);
    return page;
}

QWebEngineView* TMovieEngine::NewView(QWebEnginePage* page) {
    auto* view = new QWebEngineView;
    page->setParent(view);
    view->setPage(page);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setAcceptDrops(false);
    return view;
}

void TMovieEngine::Warm() {
    spare_.removeAll(nullptr);
    taken_.removeAll(nullptr);
    if (pageUrl_.isEmpty() || !spare_.isEmpty() || !taken_.isEmpty() || warmPage_) return;
    QWebEnginePage* page = NewPage(this);
    connect(page, &QWebEnginePage::loadFinished, page, [page](bool ok) {
        if (ok) page->runJavaScript(QStringLiteral("ovWarm()"));
    });
    warmPage_ = page;
    dropWarmPage_.start();
}

void TMovieEngine::DropWarmPage() {
    dropWarmPage_.stop();
    delete warmPage_;
}

QWebEngineView* TMovieEngine::TakeView(QWidget* parent) {
    dropSpares_.stop();
    taken_.removeAll(nullptr);
    for (qsizetype i = spare_.size() - 1; i >= 0; --i) {
        QWebEngineView* view = spare_[i];
        if (view && view->window() == parent->window()) {
            spare_.removeAt(i);
            view->setParent(parent);
            taken_.append(view);
            return view;
        }
    }
    dropWarmPage_.stop();
    QWebEnginePage* page = warmPage_ ? warmPage_.data() : NewPage(nullptr);
    warmPage_ = nullptr;
    QWebEngineView* view = NewView(page);
    view->setParent(parent);
    taken_.append(view);
    return view;
}

void TMovieEngine::ReturnView(QWebEngineView* view) {
    spare_.removeAll(nullptr);
    taken_.removeAll(view);
    taken_.removeAll(nullptr);
    if (taken_.isEmpty()) dropSpares_.start();
    QWidget* window = view->window();
    if (!Ready(view) || spare_.size() >= kSpareViews || window == view) {
        delete view;
        return;
    }
    // A view shows nothing once moved to another top-level window, so a
    // spare waits hidden in the window it served; it goes with that window.
    view->hide();
    view->setParent(window);
    spare_.append(view);
}

void TMovieEngine::DropSpares() {
    taken_.removeAll(nullptr);
    if (!taken_.isEmpty()) return;
    for (const QPointer<QWebEngineView>& view : spare_) delete view;
    spare_.clear();
}

bool TMovieEngine::Ready(const QWebEngineView* view) { return view->page()->property(kReadyProperty).toBool(); }

void TMovieEngine::AllowFolder(const QString& folder) { filter_->Allow(folder); }

}  // namespace ov
