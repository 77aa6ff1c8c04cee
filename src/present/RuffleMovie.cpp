#include "present/RuffleMovie.h"

#include "present/MovieEngine.h"
#include "present/MovieFiles.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace ov {
namespace {

// Only a fallback for a missed title change: asking the page while Ruffle
// starts slows Ruffle down.
constexpr int kPollMs = 250;
// From our page's readiness on (a busy machine may take long to start the
// web engine itself, which is not the movie's fault); a movie still not
// loaded by then is as good as broken.
constexpr int kLoadLimitMs = 15000;

TMovieState StateNamed(const QString& name) {
    if (name == "playing") return TMovieState::kPlaying;
    if (name == "stopped") return TMovieState::kStopped;
    if (name == "failed") return TMovieState::kFailed;
    return TMovieState::kLoading;
}

}  // namespace

TRuffleMovie::TRuffleMovie(QWidget* parent, const QString& name) : TMoviePlaceholder(parent), name_(name) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &TRuffleMovie::Poll);
}

TRuffleMovie::~TRuffleMovie() { ReleaseView(); }

void TRuffleMovie::SetMovie(const QString& path) {
    ReleaseView();
    movie_ = path;
    frames_ = 0;
    rate_ = 0;
    SetFileName(path);
    if (!LooksLikeSwf(path)) return Fail();
    TMovieEngine& engine = TMovieEngine::Instance();
    if (engine.PageUrl().isEmpty()) return Fail();
    engine.AllowFolder(QFileInfo(path).absolutePath());
    view_ = engine.TakeView(this);
    view_->setGeometry(rect());
    view_->show();
    SetState(TMovieState::kLoading);
    if (TMovieEngine::Ready(view_)) return StartLoad();
    connect(&engine, &TMovieEngine::PageReady, this, [this](QWebEnginePage* page, bool ok) {
        if (!view_ || page != view_->page()) return;
        disconnect(&TMovieEngine::Instance(), &TMovieEngine::PageReady, this, nullptr);
        ok ? StartLoad() : Fail();
    });
}

void TRuffleMovie::StartLoad() {
    // Views are reused by other movies; a token unique to this load keeps
    // an earlier load's late title from passing for this one's.
    static int loads = 0;
    const QString token = QString::number(++loads);
    connect(view_->page(), &QWebEnginePage::titleChanged, this, [this, token](const QString& title) {
        if (state_ == TMovieState::kLoading && title.section(' ', 0, 0) == token) TakeState(title.section(' ', 1));
    });
    const QJsonArray arguments{QUrl::fromLocalFile(movie_).toString(QUrl::FullyEncoded),
                               QUrl::fromLocalFile(MovieFontFile()).toString(QUrl::FullyEncoded),
                               MovieFontFamily(), token};
    const QString json = QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact));
    Call("ovLoad.apply(null, " + json + ")");
    loading_.start();
    poll_.start();
}

bool TRuffleMovie::Playing() const { return state_ == TMovieState::kPlaying || (state_ == TMovieState::kLoading && wanted_); }

void TRuffleMovie::Play() {
    wanted_ = true;
    if (state_ != TMovieState::kStopped) return;
    SetState(TMovieState::kPlaying);
    Call("ovPlay()");
}

void TRuffleMovie::StopPlay() {
    wanted_ = false;
    if (state_ != TMovieState::kPlaying) return;
    SetState(TMovieState::kStopped);
    Call("ovStop()");
}

void TRuffleMovie::Poll() {
    if (state_ != TMovieState::kLoading) return poll_.stop();
    if (loading_.elapsed() > kLoadLimitMs) return Fail();
    Call("ovState()");
}

void TRuffleMovie::Call(const QString& script) {
    if (!view_) return;
    const QPointer<TRuffleMovie> alive(this);
    const int generation = generation_;
    view_->page()->runJavaScript(script, [alive, generation](const QVariant& reply) {
        if (alive && alive->generation_ == generation) alive->TakeState(reply.toString());
    });
}

void TRuffleMovie::TakeState(const QString& reply) {
    const TMovieState answered = StateNamed(reply);
    if (answered == TMovieState::kFailed) return Fail();
    if (state_ == TMovieState::kLoading && answered != TMovieState::kLoading) {
        // Loaded: ask the length once and bring the movie where it was asked to be.
        const QPointer<TRuffleMovie> alive(this);
        view_->page()->runJavaScript("ovLength()", [alive](const QVariant& length) {
            if (alive) alive->TakeLength(length.toList());
        });
        if (answered == TMovieState::kPlaying && !wanted_) return Call("ovStop()");
        if (answered == TMovieState::kStopped && wanted_) return Call("ovPlay()");
    }
    if (answered != TMovieState::kLoading) SetState(answered);
}

void TRuffleMovie::TakeLength(const QVariantList& length) {
    if (length.size() != 2) return;
    frames_ = length[0].toInt();
    rate_ = length[1].toDouble();
}

void TRuffleMovie::SetState(TMovieState state) { state_ = state; }

void TRuffleMovie::Fail() {
    poll_.stop();
    ReleaseView();
    SetState(TMovieState::kFailed);
    TellUnplayable(name_);
}

void TRuffleMovie::ReleaseView() {
    ++generation_;
    poll_.stop();
    if (!view_ || !TMovieEngine::Started()) return;
    disconnect(&TMovieEngine::Instance(), &TMovieEngine::PageReady, this, nullptr);
    disconnect(view_->page(), nullptr, this, nullptr);
    if (TMovieEngine::Ready(view_)) view_->page()->runJavaScript("ovUnload()");
    TMovieEngine::Instance().ReturnView(view_);
    view_ = nullptr;
}

void TRuffleMovie::resizeEvent(QResizeEvent* event) {
    if (view_) view_->setGeometry(rect());
    TMoviePlaceholder::resizeEvent(event);
}

}  // namespace ov
