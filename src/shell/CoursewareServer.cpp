#include "shell/CoursewareServer.h"

#include <QSettings>

#include <cstdlib>

#include "core/Log.h"
#include "net/CoursewareSource.h"

namespace ov {

std::unique_ptr<CoursewareServer> CoursewareServer::FromSettings(QSettings& settings) {
    const QString key = QString::fromUtf8(kCoursewareUrlKey.data(), static_cast<qsizetype>(kCoursewareUrlKey.size()));
    const std::string url =
        ChooseCoursewareUrl(std::getenv(kCoursewareUrlVariable), settings.value(key).toString().toStdString());
    if (url.empty()) return nullptr;
    if (const auto why = WhyNotCoursewareUrl(url)) {
        Log(LogLevel::Warning, "net", "courseware server " + url + " not used: " + *why);
        return nullptr;
    }
    if (url.starts_with("http://"))
        Log(LogLevel::Info, "net", "courseware server " + url + " is plain http: files are checked by their SHA-256 only");
    return std::make_unique<CoursewareServer>(url, CoursewareCacheFolder());
}

CoursewareServer::CoursewareServer(std::string url, std::filesystem::path cacheFolder)
    : mirror_(std::move(url), std::move(cacheFolder)) {}

CoursewareServer::~CoursewareServer() {
    if (refresh_.valid()) refresh_.wait();
    Join();
}

void CoursewareServer::StartRefresh() {
    if (refresh_.valid()) return;
    refresh_ = std::async(std::launch::async, [this] {
        RefreshResult result;
        try {
            result = mirror_.Refresh();
        } catch (const std::exception& e) {
            result.outcome = RefreshOutcome::Refused;
            result.detail = e.what();
        }
        const std::string server = "courseware server " + mirror_.Url();
        switch (result.outcome) {
        case RefreshOutcome::Current: Log(LogLevel::Info, "net", server + ": nothing changed"); break;
        case RefreshOutcome::Updated: Log(LogLevel::Info, "net", server + ": updated"); break;
        case RefreshOutcome::Unreachable:
            Log(LogLevel::Warning, "net", server + " unreachable (" + result.detail + "); using the copy kept from before");
            break;
        case RefreshOutcome::Refused:
            Log(LogLevel::Warning, "net", server + ": " + result.detail + "; using the copy kept from before");
            break;
        }
        QMetaObject::invokeMethod(this, [this, outcome = result.outcome] { emit RefreshFinished(outcome); },
                                  Qt::QueuedConnection);
    });
}

bool CoursewareServer::WaitForRefresh(std::chrono::steady_clock::time_point deadline) {
    return !refresh_.valid() || refresh_.wait_until(deadline) == std::future_status::ready;
}

bool CoursewareServer::Lists(const std::string& name) const {
    return mirror_.Manifest().Find("Resources/" + name) != nullptr;
}

void CoursewareServer::Download(const std::string& name) {
    if (downloading_) return;
    Join();
    downloading_ = true;
    download_ = std::thread([this, name] {
        int shown = -1;
        PackageOutcome outcome = PackageOutcome::Unreachable;
        try {
            outcome = mirror_.FetchPackage(name, [this, &shown](std::uint64_t have, std::uint64_t size) {
                const int permille = size ? static_cast<int>(have * 1000 / size) : 1000;
                if (permille != shown) emit Progress(shown = permille);
                return true;
            });
        } catch (const std::exception& e) {
            Log(LogLevel::Warning, "net", "class package " + name + " not fetched: " + e.what());
        }
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
                Join();
                downloading_ = false;
                emit Downloaded(outcome);
            },
            Qt::QueuedConnection);
    });
}

void CoursewareServer::Join() {
    if (download_.joinable()) download_.join();
}

}  // namespace ov
