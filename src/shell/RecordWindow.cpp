#include "shell/RecordWindow.h"

#include "core/Log.h"
#include "present/StudyFunctions.h"
#include "store/ProgressReport.h"
#include "store/ProgressStore.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

namespace ov {
namespace {

constexpr qint64 kMaxDateTicks = 9;

QString Qs(const std::string& text) { return QString::fromStdString(text); }

QString LessonName(const std::string& caption, const std::string& code) { return Qs(caption.empty() ? code : caption); }

QString Duration(int64_t seconds) {
    const int64_t minutes = (seconds + 30) / 60;
    if (minutes < 60) return QStringLiteral("%1 分钟").arg(minutes);
    return QStringLiteral("%1 小时 %2 分钟").arg(minutes / 60).arg(minutes % 60);
}

QString Score(const std::optional<double>& score) { return score ? QString::number(std::lround(*score)) : QString(); }

QString FunctionName(int kind) {
    const char* caption = StudyFunctionOf(static_cast<TOVRule>(kind)).caption;
    return caption ? QString::fromUtf8(caption) : QString();
}

QString PractiseText(const PractiseItem& item) {
    const QString where = QStringLiteral("%1 · %2 · 第%3页")
                              .arg(LessonName(item.caption, item.lesson), FunctionName(item.function))
                              .arg(item.page);
    if (item.kind == PractiseItem::Kind::Sentence)
        return QStringLiteral("句子：%1\n%2，得分 %3").arg(Qs(item.text), where).arg(std::lround(item.figure));
    return QStringLiteral("单词：%1\n%2，错过 %3 次").arg(Qs(item.text), where).arg(std::lround(item.figure));
}

// An empty cell shows a dash, and a screen reader says what is missing.
QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter,
                       const QString& missing = {}) {
    auto* cell = new QTableWidgetItem(text.isEmpty() ? QStringLiteral("—") : text);
    if (text.isEmpty()) cell->setData(Qt::AccessibleTextRole, missing);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setTextAlignment(alignment);
    return cell;
}

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("RecordHeading"));
    return label;
}

}  // namespace

RecordWindow::RecordWindow(const std::filesystem::path& file, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecordWindow"));
    setWindowTitle(QStringLiteral("学习记录"));
    setAccessibleName(QStringLiteral("学习记录"));
    // Fits a 1280 x 800 screen with the desktop's panels around it.
    resize(1180, 720);

    Chart = new QChartView(this);
    Chart->setObjectName(QStringLiteral("ScoreChart"));
    Chart->setAccessibleName(QStringLiteral("对比得分图"));
    Chart->setRenderHint(QPainter::Antialiasing);
    Chart->setMinimumHeight(300);

    Lessons = new QTableWidget(0, 5, this);
    Lessons->setObjectName(QStringLiteral("LessonTable"));
    Lessons->setAccessibleName(QStringLiteral("课文记录"));
    Lessons->setHorizontalHeaderLabels(
        {QStringLiteral("课文"), QStringLiteral("学习时间"), QStringLiteral("最近打开"), QStringLiteral("最高分"),
         QStringLiteral("最近得分")});
    Lessons->verticalHeader()->hide();
    Lessons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lessons->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lessons->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Lessons->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    Practise = new QListWidget(this);
    Practise->setObjectName(QStringLiteral("PractiseList"));
    Practise->setAccessibleName(QStringLiteral("再练一练"));
    Practise->setWordWrap(true);
    Practise->setCursor(Qt::PointingHandCursor);
    connect(Practise, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int index = Practise->row(item);
        if (index < 0 || index >= static_cast<int>(items_.size())) return;
        chosen_ = items_[static_cast<size_t>(index)];
        accept();
    });

    BtnClose = new QPushButton(QStringLiteral("关闭"), this);
    BtnClose->setObjectName(QStringLiteral("BtnCloseRecord"));
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* lessonColumn = new QVBoxLayout;
    lessonColumn->addWidget(Heading(QStringLiteral("课文"), this));
    lessonColumn->addWidget(Lessons, 1);
    auto* practiseColumn = new QVBoxLayout;
    practiseColumn->addWidget(Heading(QStringLiteral("再练一练（点一下就去练习）"), this));
    practiseColumn->addWidget(Practise, 1);
    auto* lower = new QHBoxLayout;
    lower->setSpacing(12);
    lower->addLayout(lessonColumn, 3);
    lower->addLayout(practiseColumn, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(Chart, 5);
    layout->addLayout(lower, 4);
    layout->addLayout(buttons);

    std::optional<ProgressStore> store;
    try {
        // The player checked the file when it opened it; a full read here
        // would cost the window more than all of its queries.
        if (!file.empty()) store = ProgressStore::OpenForReading(file, false);
    } catch (const std::exception& e) {
        // The player moves a damaged record aside when it next starts.
        Log(LogLevel::Warning, "store", std::string("learning record not shown: ") + e.what());
    }
    bool loaded = false;
    try {
        if (store) Load(*store);
        loaded = store.has_value();
    } catch (const std::exception& e) {
        Log(LogLevel::Warning, "store", std::string("learning record not read: ") + e.what());
    }
    // An empty record still shows its axes, so the pupil sees where scores will go.
    if (!loaded) FillChart({});
    FillPractise();
}

RecordWindow::~RecordWindow() = default;

void RecordWindow::Load(ProgressStore& store) {
    const std::vector<LessonSummary> lessons = ReadLessonSummaries(store);
    std::vector<std::string> charted;
    for (const LessonSummary& lesson : lessons)
        if (lesson.best && charted.size() < static_cast<size_t>(kMaxChartLessons)) charted.push_back(lesson.lesson);
    FillChart(ReadScoreSeries(store, charted, QDateTime::currentDateTime().offsetFromUtc()));
    FillLessons(lessons);
    items_ = ReadPractiseAgain(store, kPractiseItems);
}

void RecordWindow::FillChart(const std::vector<ScoreSeries>& series) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("对比得分（每天的平均分）"));
    chart->legend()->setAlignment(Qt::AlignRight);
    auto* days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("MM-dd"));
    days->setTitleText(QStringLiteral("日期"));
    auto* scores = new QValueAxis;
    scores->setRange(0, 100);
    scores->setLabelFormat(QStringLiteral("%d"));
    scores->setTitleText(QStringLiteral("得分"));
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(scores, Qt::AlignLeft);

    int64_t first = 0, last = 0;
    seriesCount_ = 0;
    for (auto found = series.begin(); found != series.end(); ++found) {
        auto* line = new QLineSeries;
        line->setName(LessonName(found->caption, found->lesson));
        line->setPointsVisible(found->days.size() < 60);
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(found->days.size()));
        for (const auto& [day, mean] : found->days) {
            points.append(QPointF(static_cast<double>(day) * 1000.0, mean));
            first = first == 0 ? day : std::min(first, day);
            last = std::max(last, day);
        }
        line->replace(points);
        chart->addSeries(line);
        line->attachAxis(days);
        line->attachAxis(scores);
        ++seriesCount_;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime from = first ? QDateTime::fromSecsSinceEpoch(first - 86400) : now.addDays(-7);
    const QDateTime to = last ? QDateTime::fromSecsSinceEpoch(last + 86400) : now;
    days->setRange(from, to);
    // A tick a day while they fit, so no two ticks carry the same date.
    days->setTickCount(static_cast<int>(std::clamp<qint64>(from.daysTo(to) + 1, 2, kMaxDateTicks)));
    QChart* previous = Chart->chart();
    Chart->setChart(chart);
    delete previous;
    Chart->setAccessibleDescription(QStringLiteral("%1 条曲线").arg(seriesCount_));
}

void RecordWindow::FillLessons(const std::vector<LessonSummary>& lessons) {
    Lessons->setRowCount(static_cast<int>(lessons.size()));
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    for (int row = 0; row < static_cast<int>(lessons.size()); ++row) {
        const LessonSummary& lesson = lessons[static_cast<size_t>(row)];
        Lessons->setItem(row, 0, Cell(LessonName(lesson.caption, lesson.lesson)));
        Lessons->setItem(row, 1, Cell(Duration(lesson.seconds), right));
        const QString opened = lesson.lastOpened
                                   ? QDateTime::fromSecsSinceEpoch(lesson.lastOpened).toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                   : QString();
        Lessons->setItem(row, 2, Cell(opened, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("没有打开过")));
        Lessons->setItem(row, 3, Cell(Score(lesson.best), right, QStringLiteral("还没有得分")));
        Lessons->setItem(row, 4, Cell(Score(lesson.latest), right, QStringLiteral("还没有得分")));
    }
}

void RecordWindow::FillPractise() {
    Practise->clear();
    for (const PractiseItem& item : items_) Practise->addItem(PractiseText(item));
    if (!items_.empty()) return;
    auto* none = new QListWidgetItem(QStringLiteral("还没有要再练的句子和单词"), Practise);
    none->setFlags(Qt::NoItemFlags);
}

}  // namespace ov
