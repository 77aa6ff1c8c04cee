#include "present/MovieRequestFilter.h"

#include <QDir>
#include <QUrl>

namespace ov {

void TMovieRequestFilter::Allow(const QString& folderOrFile) {
    const QString path = QDir::cleanPath(folderOrFile);
    if (!path.isEmpty() && !allowed_.contains(path)) allowed_.append(path);
}

bool TMovieRequestFilter::Allows(const QUrl& url) const {
    const QString scheme = url.scheme();
    if (scheme == "data" || scheme == "blob") return true;
    if (scheme != "file" || !url.host().isEmpty()) return false;
    // A cleaned path has no ".." left to climb out of an allowed folder.
    const QString path = QDir::cleanPath(url.toLocalFile());
    for (const QString& allowed : allowed_) {
        if (path == allowed || path.startsWith(allowed + '/')) return true;
    }
    return false;
}

void TMovieRequestFilter::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!Allows(info.requestUrl())) info.block(true);
}

}  // namespace ov
