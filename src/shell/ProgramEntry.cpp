#include "shell/ProgramEntry.h"

#include "core/MessageHook.h"
#include "shell/ShellLook.h"
#include "shell/SingleInstance.h"
#include "shell/MainWindow.h"
#include "store/LessonData.h"
#include "store/ProgressRecorder.h"
#include "store/ProgressStore.h"
#include "shell/SplashWindow.h"
#include "shell/ShowMessageDialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <memory>

namespace ov {
namespace {

void ShowAlreadyRunningBox() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("软件已在运行"),
                    QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
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

    // The splash stands alone for its time; the data module and the window
    // come after it, from the running message loop.
    auto* splash = new SplashWindow;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->ShowCentred();
    std::unique_ptr<ProgressRecorder> progress;
    std::unique_ptr<LessonData> dm;
    QTimer::singleShot(options.splashMs, &app, [&progress, &dm, &instance, splash] {
        progress = std::make_unique<ProgressRecorder>(ProgressStoreFile(FolderEnvironment::Current()));
        const DataFolders folders = DataFolders::Current();
        dm = std::make_unique<LessonData>(folders);
        auto* window = new MainWindow(*dm, folders, progress.get());
        window->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(&instance, &SingleInstance::ActivationRequested, window, &MainWindow::BringToFront);
        window->show();
        splash->close();
    });
    const int code = app.exec();
    SetMessageHandler({});
    return code;
}

}  // namespace ov
