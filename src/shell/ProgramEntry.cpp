#include "shell/ProgramEntry.h"

#include "core/MessageHook.h"
#include "shell/CoursewareServer.h"
#include "shell/ShellLook.h"
#include "shell/ShellSettings.h"
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
#include <QSettings>
#include <QTimer>

#include <chrono>
#include <memory>

namespace ov {
namespace {

// How much later than without a server the tree may show.
constexpr auto kServerGrace = std::chrono::milliseconds(100);

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
    // The server is asked while the splash stands; its answer is awaited only
    // briefly after it.
    std::unique_ptr<CoursewareServer> server = CoursewareServer::FromSettings(*OpenOrvaneSettings());
    if (server) server->StartRefresh();
    std::unique_ptr<ProgressRecorder> progress;
    std::unique_ptr<LessonData> dm;
    QTimer::singleShot(options.splashMs, &app, [&progress, &dm, &instance, &server, splash] {
        progress = std::make_unique<ProgressRecorder>(ProgressStoreFile(FolderEnvironment::Current()));
        DataFolders folders = DataFolders::Current();
        bool refreshPending = false;
        if (server) {
            refreshPending = !server->WaitForRefresh(std::chrono::steady_clock::now() + kServerGrace);
            folders = folders.WithLowest(server->Folder());
        }
        dm = std::make_unique<LessonData>(folders);
        auto* window = new MainWindow(*dm, folders, progress.get());
        if (server) window->UseCoursewareServer(server.release(), refreshPending);
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
