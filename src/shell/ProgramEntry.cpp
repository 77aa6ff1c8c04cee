#include "shell/ProgramEntry.h"

#include "core/MessageHook.h"
#include "shell/ShellLook.h"
#include "shell/SingleInstance.h"
#include "shell/UntClassShow.h"
#include "store/UntDM.h"
#include "shell/UntLog.h"
#include "shell/UntPublicEX.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace ov {
namespace {

void ShowAlreadyRunningBox() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("软件已在运行"),
                    QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

// The splash is the only window during the wait; the loop lets it repaint
// when uncovered, and nothing else is running yet.
void ShowSplash(int waitMs) {
    TFrmLog splash;
    splash.ShowPainted();
    QEventLoop wait;
    QTimer::singleShot(waitMs, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

int RunPlayer(QApplication& app, StartOptions options) {
    SingleInstance instance(options.instanceFolder);
    if (!instance.Acquire()) {
        (options.alreadyRunning ? options.alreadyRunning : ShowAlreadyRunningBox)();
        return 0;
    }
    ApplyShellLook(app);
    InstallMessageDialog();

    ShowSplash(options.splashMs);

    const DataFolders folders = DataFolders::Current();
    TFrmDM dm(folders);
    auto* window = new TFrmClassShow(dm, folders);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&instance, &SingleInstance::ActivationRequested, window, &TFrmClassShow::BringToFront);
    window->show();
    const int code = app.exec();
    SetMessageHandler({});
    return code;
}

}  // namespace ov
