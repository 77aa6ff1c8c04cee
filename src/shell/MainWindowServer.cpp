// The window's part of a courseware server: a lesson only the server has is
// fetched, with its progress in the unpack bar, before it opens.
#include "shell/MainWindow.h"

#include "core/Log.h"
#include "core/MessageHook.h"
#include "shell/CollapsiblePanel.h"
#include "shell/CoursewareServer.h"
#include "store/LessonData.h"

#include <QProgressBar>

namespace ov {
namespace {

constexpr int kBarThousandths = 1000;

}  // namespace

void MainWindow::UseCoursewareServer(CoursewareServer* server, bool refreshPending) {
    server_ = server;
    server_->setParent(this);
    QProgressBar* gauge = PanelSizeLeft->UnpackBar;
    connect(server_, &CoursewareServer::Progress, gauge, [gauge](int permille) {
        gauge->setRange(0, kBarThousandths);
        gauge->setValue(permille);
    });
    connect(server_, &CoursewareServer::Downloaded, this, &MainWindow::DownloadFinished);
    if (refreshPending) connect(server_, &CoursewareServer::RefreshFinished, this, &MainWindow::LateRefreshFinished);
}

bool MainWindow::FetchFromServer(const CatalogueNodeClick& lesson) {
    if (!server_) return false;
    std::string name;
    try {
        name = ClassPackageName(lesson.caption);
    } catch (const std::exception&) {
        return false;
    }
    std::error_code ec;
    if (std::filesystem::exists(folders_.Find(std::filesystem::path("Resources") / name), ec) ||
        !server_->Lists(name))
        return false;
    fetchingLesson_ = lesson;
    server_->Download(name);
    return true;
}

void MainWindow::DownloadFinished(PackageOutcome outcome) {
    PanelSizeLeft->UnpackBar->setValue(0);
    const auto lesson = std::exchange(fetchingLesson_, std::nullopt);
    switch (outcome) {
    case PackageOutcome::Cached:
    case PackageOutcome::Fetched:
        if (lesson) OpenLesson(*lesson);
        return;
    case PackageOutcome::Unreachable: ShowMessageEx("提示", "无法连接课件服务器，请检查网络", 0); return;
    case PackageOutcome::Refused: ShowMessageEx("提示", "课件文件校验失败，请联系老师", 0); return;
    case PackageOutcome::NotListed:
    case PackageOutcome::Cancelled: return;
    }
}

// The tree was shown from the copy kept before; the server's new catalogue
// replaces it while the pupil has not yet gone into it.
void MainWindow::LateRefreshFinished(RefreshOutcome outcome) {
    if (outcome != RefreshOutcome::Updated) return;
    dm_.OpenCatalogue(folders_);
    if (setUpDone_ && !openedLevel_) LoadCatalogueTree();
}

}  // namespace ov
