#include "present/MoviePage.h"

namespace ov {

TMoviePage::TMoviePage(QWebEngineProfile* profile, const QUrl& home, QObject* parent)
    : QWebEnginePage(profile, parent), home_(home) {}

bool TMoviePage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return isMainFrame && url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery) == home_;
}

}  // namespace ov
