// The window's part of the learning record: what it records as the pupil
// studies, and the "学习记录" window with its way back into a lesson.
#include "shell/MainWindow.h"

#include "core/Log.h"
#include "present/AnswerCheck.h"
#include "present/LessonPanel.h"
#include "present/PagePlayback.h"
#include "present/PageView.h"
#include "present/ScriptPlayer.h"
#include "present/SentenceWord.h"
#include "shell/FunctionColumn.h"
#include "shell/RecordWindow.h"
#include "store/ProgressRecorder.h"
#include "study/FunctionConductor.h"

#include <QPushButton>

namespace ov {

void MainWindow::Record(ProgressEvent event) {
    // Before the first lesson there is nothing to count a result to.
    if (!progress_ || recordedLesson_.empty()) return;
    progress_->Record(std::move(event));
}

void MainWindow::RecordLessonClosed() {
    RecordHeldScore();
    if (recordedLesson_.empty()) return;
    Record(LessonClosed{recordedLesson_, ProgressNow()});
}

void MainWindow::RecordScore(double score, std::vector<RecordedWord> words) {
    RecordHeldScore();
    Record(ScoreOnPage(score, std::move(words)));
}

void MainWindow::HoldScore(double score) {
    RecordHeldScore();
    heldScore_ = ScoreOnPage(score, {});
}

void MainWindow::RecordWordsHeard(const ReadingFeedback& feedback) {
    if (!heldScore_) return;
    for (const WordFeedback& word : feedback.words) heldScore_->words.push_back({word.word, word.heard, word.confidence});
    RecordHeldScore();
}

void MainWindow::RecordHeldScore() {
    if (!heldScore_) return;
    Record(std::move(*heldScore_));
    heldScore_.reset();
}

ReadingScore MainWindow::ScoreOnPage(double score, std::vector<RecordedWord> words) const {
    ReadingScore result{recordedLesson_, state_.RuleKind, conductor_->PageNumber(), {}, {}, score, std::move(words),
                        ProgressNow()};
    PageView& box = *Lesson->Box;
    if (const int32_t sentence = box.Script().LastSentenceId()) {
        result.sentences.push_back(sentence);
        QStringList text;
        for (const SentenceWord* word : CollectWords(box, sentence)) text << QString::fromStdString(word->Word().Text);
        result.text = text.join(QLatin1Char(' ')).simplified().toStdString();
    }
    return result;
}

void MainWindow::RecordTally(const std::optional<TPageStatistics>& statistics) {
    if (!statistics) return;
    AnswerTally tally{recordedLesson_, state_.RuleKind, conductor_->PageNumber(), statistics->Count.Right,
                      statistics->Count.Total - statistics->Count.Right, {}, ProgressNow()};
    for (const TWrongAnswer& wrong : statistics->Wrong) tally.wrongAnswers.push_back({wrong.Typed, wrong.Expected});
    Record(std::move(tally));
}

void MainWindow::OpenLearningRecord() {
    // The window shows the result the pupil has just had too.
    if (progress_) progress_->Flush();
    RecordWindow window(progress_ ? progress_->File() : std::filesystem::path(), this);
    window.exec();
    if (const auto& chosen = window.Chosen())
        if (!OpenLessonAt(chosen->lesson, static_cast<TOVRule>(chosen->function), chosen->page))
            Log(LogLevel::Info, "study", "lesson " + chosen->lesson + " of the record is not in the catalogue");
}

bool MainWindow::OpenLessonAt(const std::string& code, TOVRule kind, int page) {
    if (OpeningLesson()) return false;
    if (code == recordedLesson_ && !state_.ClassPath.empty()) {
        FunctionButtonClick(kind);
        if (page > 0) conductor_->ShowPageAt(static_cast<std::size_t>(page - 1));
        return true;
    }
    const std::vector<CatalogueNode> path = LessonPath(code);
    if (path.empty()) return false;
    // Taken up once the lesson has opened, as a function chosen while it opens.
    pendingFunction_ = kind;
    pendingPage_ = page;
    ClickDownTo(path);
    // A tree that could not be walked opened nothing; a later lesson must not
    // inherit the place.
    if (!OpeningLesson()) {
        pendingFunction_.reset();
        pendingPage_.reset();
    }
    return true;
}

}  // namespace ov
