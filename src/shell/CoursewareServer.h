#pragma once

#include <QObject>

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "net/CoursewareMirror.h"

class QSettings;

namespace ov {

// The player's side of a courseware server: the start-up revalidation on a
// worker, and the download of a lesson's package when the pupil opens one the
// cache does not hold. Signals reach their receivers on this object's thread.
class CoursewareServer : public QObject {
    Q_OBJECT

public:
    // The server named by OV_COURSEWARE_URL or the settings, kept in the
    // user's cache folder; none when neither names one, or the URL is unusable
    // (logged).
    static std::unique_ptr<CoursewareServer> FromSettings(QSettings& settings);
    CoursewareServer(std::string url, std::filesystem::path cacheFolder);
    // Waits for the workers: they write into the cache.
    ~CoursewareServer() override;

    // Revalidates the site's manifest and fetches what changed, on a worker.
    void StartRefresh();
    // Waits for the refresh, but not past `deadline`: a slow server must not
    // hold up the pupil's tree. Whether it has finished.
    bool WaitForRefresh(std::chrono::steady_clock::time_point deadline);

    // The courseware folder holding what came from the server.
    const std::filesystem::path& Folder() const { return mirror_.Folder(); }
    // Whether the server's manifest lists the class package `name`.
    bool Lists(const std::string& name) const;
    // A cached package opened now.
    void MarkUsed(const std::filesystem::path& package) const { mirror_.MarkUsed(package); }

    // Ignored while a download runs.
    void Download(const std::string& name);
    bool Downloading() const { return downloading_; }

signals:
    // Bytes arrived, in thousandths of the package.
    void Progress(int permille);
    void RefreshFinished(RefreshOutcome outcome);
    void Downloaded(PackageOutcome outcome);

private:
    void Join();

    CoursewareMirror mirror_;
    std::future<void> refresh_;
    std::thread download_;
    bool downloading_ = false;
};

}  // namespace ov
