#include "present/MovieFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ov {
namespace {

const char* const kPageName = "movie.html";
const char* const kFontFile = "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf";

bool HoldsPlayer(const QString& folder) {
    return !folder.isEmpty() && QFileInfo::exists(folder + "/ruffle.js") &&
           QFileInfo::exists(folder + "/" + kPageName);
}

}  // namespace

QString RuffleFolder() {
    const QStringList candidates{
        qEnvironmentVariable("OV_RUFFLE_DIR"),
        QCoreApplication::applicationDirPath() + "/../share/ovplayer/ruffle",
        QStringLiteral(OV_RUFFLE_BUILD_DIR),
    };
    for (const QString& folder : candidates) {
        if (HoldsPlayer(folder)) return QDir(folder).canonicalPath();
    }
    return {};
}

QString MovieFontFile() { return QFileInfo::exists(kFontFile) ? QString::fromLatin1(kFontFile) : QString(); }

QString MovieFontFamily() { return QStringLiteral("AR PL SungtiL GB"); }

bool LooksLikeSwf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(3);
    return head == "FWS" || head == "CWS" || head == "ZWS";
}

}  // namespace ov
