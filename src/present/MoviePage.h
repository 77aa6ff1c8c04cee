#pragma once

#include <QUrl>
#include <QWebEnginePage>

namespace ov {

// Our movie page and nothing else: navigation anywhere else is refused, no
// window opens, and Ruffle's console chatter stays out of the program's log.
class TMoviePage : public QWebEnginePage {
    Q_OBJECT

public:
    TMoviePage(QWebEngineProfile* profile, const QUrl& home, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}

private:
    QUrl home_;
};

}  // namespace ov
