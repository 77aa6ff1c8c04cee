#include "shell/ShowMessageDialog.h"

#include "core/MessageHook.h"
#include "shell/MessageDialog.h"

#include <QApplication>
#include <QScreen>

namespace ov {

int ShowMessageDialog(const QString& caption, const QString& text, int kind) {
    // Owned by the active window so it stays above the full-screen main window.
    MessageDialog dialog(QApplication::activeWindow());
    dialog.Prepare(caption, text, kind);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
    return dialog.exec() == MessageDialog::kOkResult ? 1 : 2;
}

void InstallMessageDialog() {
    SetMessageHandler([](const Message& message) {
        return ShowMessageDialog(QString::fromStdString(message.caption), QString::fromStdString(message.text),
                                 message.kind);
    });
}

}  // namespace ov
