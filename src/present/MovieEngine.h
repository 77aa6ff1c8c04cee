#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace ov {

class TMovieRequestFilter;

// Frees the engine if a movie started it.
void CloseMovieEngineModule();


// The one web engine the movies share, started by the first movie: an
// off-the-record profile that keeps nothing on disk, lets pages read only the
// player's own files and the movies' folders, and a few warm views kept in
// their window after a page closes so its next Flash page shows without
// starting anything. Once no movie has been on screen for a while the warm
// views go too: the renderer they keep grows with every movie played in it,
// and without pages it ends and gives all of that back.
class TMovieEngine : public QObject {
    Q_OBJECT

public:
    static TMovieEngine& Instance();
    static bool Started();

    // The page every view shows; empty when the player's files are missing.
    QUrl PageUrl() const { return pageUrl_; }

    // A view showing our page, placed in parent. Check Ready before calling
    // into its page: a fresh view is still loading it.
    QWebEngineView* TakeView(QWidget* parent);
    void ReturnView(QWebEngineView* view);
    static bool Ready(const QWebEngineView* view);

    // Loads our page in a page no view shows, so that the renderer and Ruffle
    // are up when the first movie asks for a view. A view in the window would
    // switch the window's drawing under the pupil's pointer; a bare page
    // does not. Unused for a while, it goes.
    void Warm();

    // Lets the pages read the files of folder and below.
    void AllowFolder(const QString& folder);

signals:
    // A page of a view taken earlier has loaded our page (ok) or failed to.
    void PageReady(QWebEnginePage* page, bool ok);

private:
    friend void CloseMovieEngineModule();
    TMovieEngine();
    ~TMovieEngine() override;
    QWebEnginePage* NewPage(QObject* parent);
    QWebEngineView* NewView(QWebEnginePage* page);
    void DropWarmPage();

    QUrl pageUrl_;
    QWebEngineProfile* profile_ = nullptr;
    TMovieRequestFilter* filter_ = nullptr;
    void DropSpares();

    QList<QPointer<QWebEngineView>> spare_;
    // Views out in pages now.
    QList<QPointer<QWebEngineView>> taken_;
    QTimer dropSpares_;
    QPointer<QWebEnginePage> warmPage_;
    QTimer dropWarmPage_;
};

}  // namespace ov
