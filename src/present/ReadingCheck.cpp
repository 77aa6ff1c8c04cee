#include "present/ReadingCheck.h"

#include "core/Log.h"
#include "present/SentenceWord.h"
#include "present/SoundInfoPanel.h"
#include "speech/ProcessJudge.h"
#include "speech/ReadingJudge.h"
#include "speech/RecordingPcm.h"
#include "speech/SpeechDecoder.h"
#include "speech/SpokenText.h"

#include <QLabel>

namespace ov {
namespace {

// Runs on the worker: nothing here may touch a widget.
std::optional<ReadingFeedback> JudgeOnWorker(const std::vector<std::string>& shown, const std::string& recording,
                                             const std::function<bool()>& cancelled) {
    try {
        const std::vector<int16_t> samples = ReadRecording(recording);
        if (cancelled()) return std::nullopt;
        return ProcessJudge().Judge(shown, samples, cancelled);
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "speech", std::string("reading not judged: ") + e.what());
        return std::nullopt;
    }
}

}  // namespace

ReadingCheck::ReadingCheck(SoundInfoPanel& info, QObject* parent)
    : QObject(parent), info_(info), worker_(new QObject), wanted_(std::make_shared<std::atomic<int>>(0)) {
    qRegisterMetaType<ov::ReadingFeedback>("ov::ReadingFeedback");
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    info_.WordCount->hide();
}

ReadingCheck::~ReadingCheck() {
    ++*wanted_;
    thread_.quit();
    thread_.wait();
}

void ReadingCheck::Start(const QList<SentenceWord*>& words, const QString& recording) {
    Clear();
    std::vector<std::string> shown;
    for (SentenceWord* word : words) {
        words_.append(word);
        shown.push_back(word->text().toStdString());
    }
    if (!thread_.isRunning()) thread_.start(QThread::LowPriority);
    const int generation = ++*wanted_;
    busy_ = true;
    auto wanted = wanted_;
    // The result comes back as an event to this object; the destructor waits
    // for the worker, and Qt drops events of an object that is gone.
    QMetaObject::invokeMethod(worker_, [=, this, path = recording.toStdString()] {
        if (*wanted != generation) return;
        const auto feedback = JudgeOnWorker(shown, path, [&] { return *wanted != generation; });
        QMetaObject::invokeMethod(this, [=, this] { Show(generation, feedback); }, Qt::QueuedConnection);
    });
}

void ReadingCheck::Clear() {
    ++*wanted_;
    busy_ = false;
    for (const QPointer<SentenceWord>& word : words_)
        if (word) word->SetMissed(false);
    words_.clear();
    info_.WordCount->hide();
}

void ReadingCheck::Show(int generation, const std::optional<ReadingFeedback>& result) {
    if (generation != *wanted_) return;
    busy_ = false;
    // A recording that could not be judged leaves the page as it was.
    if (!result || result->words.empty()) return;
    const ReadingFeedback& feedback = *result;
    // The result has one entry per word that says something, in page order.
    int next = 0;
    for (const QPointer<SentenceWord>& word : words_) {
        if (!word || SpokenParts(word->text().toStdString()).empty()) continue;
        if (next >= static_cast<int>(feedback.words.size())) break;
        word->SetMissed(!feedback.words[next++].heard);
    }
    info_.WordCount->setText(QStringLiteral("读清楚了 %1/%2 个单词").arg(feedback.Heard()).arg(feedback.words.size()));
    info_.PlaceWordCount();
    info_.WordCount->show();
    emit judged(feedback);
}

}  // namespace ov
