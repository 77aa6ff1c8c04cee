#include "SpeechJobs.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <deque>
#include <memory>

#include "ToolCommand.h"

namespace ovtool {
namespace {

void Finish(QProcess& process, const SpeechJob& job) {
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw CommandError{kFailed, "espeak-ng could not say \"" + job.text + "\" with the voice " + job.voice + ": " +
                                        process.readAllStandardError().trimmed().toStdString()};
}

}  // namespace

void RunSpeech(const std::vector<SpeechJob>& jobs, const std::filesystem::path& folder) {
    if (jobs.empty()) return;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("espeak-ng"));
    if (program.isEmpty())
        throw CommandError{kFailed, "espeak-ng is not installed: it speaks every sound the source gives no recording"};
    const size_t parallel = static_cast<size_t>(std::max(1, QThread::idealThreadCount()));
    std::deque<std::pair<std::unique_ptr<QProcess>, const SpeechJob*>> running;
    for (const SpeechJob& job : jobs) {
        if (running.size() == parallel) {
            Finish(*running.front().first, *running.front().second);
            running.pop_front();
        }
        auto process = std::make_unique<QProcess>();
        process->start(program, {QStringLiteral("-v"), QString::fromStdString(job.voice), QStringLiteral("-s"),
                                 QString::number(job.speed), QStringLiteral("-w"),
                                 QString::fromStdString((folder / job.file).string()), QStringLiteral("--"),
                                 QString::fromStdString(job.text)});
        running.emplace_back(std::move(process), &job);
    }
    for (auto& [process, job] : running) Finish(*process, *job);
}

}  // namespace ovtool
