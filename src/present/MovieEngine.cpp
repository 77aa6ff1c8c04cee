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
}

TMovieEngine::~TMovieEngine() {
    for (const QPointer<QWebEngineView>& view : spare_) delete view;
    spare_.clear();
    delete profile_;
    engine = nullptr;
}

QWebEngineView* TMovieEngine::NewView() {
    auto* view = new QWebEngineView;
    auto* page = new TMoviePage(profile_, pageUrl_, view);
    view->setPage(page);
    // Until Ruffle draws, the movie's rectangle shows the file's name beneath.
    page->setBackgroundColor(Qt::transparent);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setAcceptDrops(false);
    connect(view, &QWebEngineView::loadFinished, this, [this, view](bool ok) {
        view->setProperty(kReadyProperty, ok);
        emit ViewReady(view, ok);
    });
    if (!pageUrl_.isEmpty()) view->load(pageUrl_);
    return view;
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
    QWebEngineView* view = NewView();
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

bool TMovieEngine::Ready(const QWebEngineView* view) { return view->property(kReadyProperty).toBool(); }

void TMovieEngine::AllowFolder(const QString& folder) { filter_->Allow(folder); }

}  // namespace ov
