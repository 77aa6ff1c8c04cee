#include "shell/ShellSettings.h"

#include <QSettings>

namespace ov {
namespace {

constexpr int kLastShowStyle = 16;

bool Writable(QSettings& settings) {
    settings.sync();
    return settings.isWritable() && settings.status() == QSettings::NoError;
}

}  // namespace

std::unique_ptr<QSettings> OpenOrvaneSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orvane"));
}

int NextShowStyle(const QString& stored) {
    bool ok = false;
    const int n = stored.trimmed().toInt(&ok);
    // A value outside the cycle would otherwise grow without end and name
    // bits no opening style has.
    if (!ok || n < 1 || n >= kLastShowStyle) return 1;
    return n + 1;
}

std::optional<int> AdvanceShowStyle(QSettings& settings) {
    if (!Writable(settings)) return std::nullopt;
    const int style = NextShowStyle(settings.value(QStringLiteral("ShowStyle")).toString());
    settings.setValue(QStringLiteral("ShowStyle"), QString::number(style));
    if (!Writable(settings)) return std::nullopt;
    return style;
}

FolderLetters ReadFolderLetters(QSettings& settings) {
    return {settings.value(QStringLiteral("NewFolder")).toString(),
            settings.value(QStringLiteral("OldFolder")).toString()};
}

bool WriteFolderLetters(QSettings& settings, const FolderLetters& letters) {
    settings.setValue(QStringLiteral("NewFolder"), letters.newFolder);
    settings.setValue(QStringLiteral("OldFolder"), letters.oldFolder);
    return Writable(settings);
}

QString ReadLastLesson(QSettings& settings) { return settings.value(QStringLiteral("LastLesson")).toString(); }

bool WriteLastLesson(QSettings& settings, const QString& code) {
    settings.setValue(QStringLiteral("LastLesson"), code);
    return Writable(settings);
}

}  // namespace ov
