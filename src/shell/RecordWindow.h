#pragma once

#include <QDialog>

#include <filesystem>
#include <optional>
#include <vector>

#include "store/ProgressRecords.h"

class QChartView;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace ov {

class ProgressStore;

// "学习记录": the pupil's scores over time per lesson, the lessons with the
// time spent on them, and the sentences and words to practise again, for the
// pupil, a parent or a teacher at the computer. A click on a place to practise
// closes the window with that place chosen.
class RecordWindow : public QDialog {
    Q_OBJECT

public:
    // So many lessons, the most recently opened, have a line in the chart;
    // more lines than this cannot be told apart.
    static constexpr int kMaxChartLessons = 8;
    static constexpr int kPractiseItems = 10;

    // Reads the record in `file`; a missing, empty or unreadable record shows
    // as an empty one.
    explicit RecordWindow(const std::filesystem::path& file, QWidget* parent = nullptr);
    ~RecordWindow() override;

    const std::optional<PractiseItem>& Chosen() const { return chosen_; }
    int SeriesCount() const { return seriesCount_; }

    QChartView* Chart;
    QTableWidget* Lessons;
    QListWidget* Practise;
    QPushButton* BtnClose;

private:
    void Load(ProgressStore& store);
    void FillChart(const std::vector<ScoreSeries>& series);
    void FillLessons(const std::vector<LessonSummary>& lessons);
    void FillPractise();

    std::vector<PractiseItem> items_;
    std::optional<PractiseItem> chosen_;
    int seriesCount_ = 0;
};

}  // namespace ov
