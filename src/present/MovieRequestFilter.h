#pragma once

#include <QStringList>
#include <QWebEngineUrlRequestInterceptor>

namespace ov {

// Every request of the movie pages passes here. Only local files under the
// allowed folders (the player's own files, the font, the movies' folders)
// and in-page data get through, so neither a movie nor a page it could open
// reaches the network or the rest of the disk.
class TMovieRequestFilter : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT

public:
    explicit TMovieRequestFilter(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

    void Allow(const QString& folderOrFile);
    bool Allows(const QUrl& url) const;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QStringList allowed_;
};

}  // namespace ov
