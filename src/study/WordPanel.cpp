#include "study/WordPanel.h"

#include "core/Log.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteQuery.h"
#include "store/LessonData.h"
#include "study/PenPicture.h"
#include "study/WordSound.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace ov {
namespace {

constexpr int kPenLeft = 96;
constexpr int kSpellingHeight = 44;

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* CardEdit(const char* name, const QString& accessibleName, int top, int height, const QString& style,
                    QWidget* card) {
    auto* edit = new QLineEdit(card);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(accessibleName);
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setStyleSheet(QStringLiteral("background: black; color: white; ") + style);
    edit->setGeometry(8, top, TWordPanel::kCardWidth - 26, height);
    return edit;
}

QString Trimmed(const std::string& text) { return QString::fromStdString(text).trimmed(); }

// The whole list, so that the drill never reads a query it does not own.
std::vector<DrillWord> CopyWords(SqliteQuery& query) {
    std::vector<DrillWord> words;
    for (query.First(); !query.Eof(); query.Next())
        words.push_back({query.FieldByName("word"), query.FieldByName("symbol"), query.FieldByName("Acceptation"),
                         query.FieldByName("ExpSentence")});
    query.First();
    return words;
}

}  // namespace

TWordPanel::TWordPanel(LessonData& dm, StudyState& state, QWidget* parent)
    : QWidget(parent), dm_(dm), state_(state), drill_(*this, state), sound_(new WordSound(this)) {
    setObjectName(QStringLiteral("PWord"));
    wait_.setSingleShot(true);
    // The drill's waits are never shorter than asked, as a coarse timer's may be.
    wait_.setTimerType(Qt::PreciseTimer);
    connect(&wait_, &QTimer::timeout, this, [this] { drill_.WaitElapsed(); });
    connect(sound_, &WordSound::Finished, this, [this] { drill_.SoundFinished(); });
    BuildCard();
    BuildSpelling();
    ExampleMemo = new QPlainTextEdit(this);
    ExampleMemo->setObjectName(QStringLiteral("ExampleMemo"));
    ExampleMemo->setAccessibleName(QStringLiteral("例句"));
    ExampleMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ExampleMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ExampleMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ExampleMemo->setFont(QFont(QStringLiteral("新宋体"), 14));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(PWordRightTop);
    layout->addWidget(BuildCountLine());
    layout->addWidget(BuildSettings());
    layout->addWidget(ExampleMemo, 1);
    layout->addWidget(PanelWordSet);

    auto* buttons = new QHBoxLayout;
    BtnWordStart = new QPushButton(QStringLiteral("开始"), this);
    BtnWordPause = new QPushButton(QStringLiteral("暂停"), this);
    BtnWordStop = new QPushButton(QStringLiteral("停止"), this);
    const std::pair<QPushButton*, const char*> named[] = {
        {BtnWordStart, "BtnWordStart"}, {BtnWordPause, "BtnWordPause"}, {BtnWordStop, "BtnWordStop"}};
    for (const auto& [button, name] : named) {
        button->setObjectName(QString::fromLatin1(name));
        button->setFixedSize(75, 25);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(BtnWordStart, &QPushButton::clicked, this, &TWordPanel::BtnWordStartClick);
    connect(BtnWordPause, &QPushButton::clicked, this, &TWordPanel::BtnWordPauseClick);
    connect(BtnWordStop, &QPushButton::clicked, this, &TWordPanel::BtnWordStopClick);
    connect(IntervalSpinner, &QSpinBox::valueChanged, this, [this](int seconds) { drill_.SetInterval(seconds); });
}

void TWordPanel::BuildCard() {
    PWordRightTop = new QWidget(this);
    PWordRightTop->setObjectName(QStringLiteral("PWordRightTop"));
    PWordRightTop->setFixedHeight(kTopHeight);
    PWordRightTop->installEventFilter(this);

    auto* frame = new QFrame(PWordRightTop);
    frame->setObjectName(QStringLiteral("PanelWordShow"));
    frame->setFrameShape(QFrame::Box);
    frame->setStyleSheet(QStringLiteral("#PanelWordShow { background: black; border: 2px solid #B9D3EE; border-radius: 6px; }"));
    frame->resize(kCardWidth, kCardHeight);
    PanelWordShow = frame;

    WordCard = new QWidget(PanelWordShow);
    WordCard->setObjectName(QStringLiteral("WordCard"));
    WordCard->setStyleSheet(QStringLiteral("background: black;"));
    WordCard->setGeometry(5, 5, kCardWidth - 10, kCardHeight - 10);
    WordEdit = CardEdit("WordEdit", QStringLiteral("单词"), 6, 60, QStringLiteral("font: bold 36pt;"), WordCard);
    PhoneticEdit =
        CardEdit("PhoneticEdit", QStringLiteral("音标"), 70, 34, QStringLiteral("font: bold 16pt;"), WordCard);
    MeaningEdit =
        CardEdit("MeaningEdit", QStringLiteral("词义"), 108, 34, QStringLiteral("font: 16pt \"宋体\";"), WordCard);
}

QWidget* TWordPanel::BuildCountLine() {
    auto* line = new QWidget(this);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    CountLead = NamedLabel("CountLead", QStringLiteral("本课共有"), line);
    WordTotal = NamedLabel("WordTotal", QString(), line);
    CountMiddle = NamedLabel("CountMiddle", QStringLiteral("个单词，现在是第"), line);
    WordNumber = NamedLabel("WordNumber", QString(), line);
    CountTail = NamedLabel("CountTail", QStringLiteral("个"), line);
    for (QLabel* count : {WordTotal, WordNumber}) count->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    for (QLabel* label : {CountLead, WordTotal, CountMiddle, WordNumber, CountTail}) layout->addWidget(label);
    layout->addStretch(1);
    return line;
}

QWidget* TWordPanel::BuildSettings() {
    auto* line = new QWidget(this);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    RepeatLabel = NamedLabel("RepeatLabel", QStringLiteral("朗读次数"), line);
    RepeatSpinner = new QSpinBox(line);
    RepeatSpinner->setObjectName(QStringLiteral("RepeatSpinner"));
    RepeatSpinner->setAccessibleName(RepeatLabel->text());
    RepeatSpinner->setRange(1, 99);
    RepeatSpinner->setValue(1);
    IntervalLabel = NamedLabel("IntervalLabel", QStringLiteral("时间间隔"), line);
    IntervalSpinner = new QSpinBox(line);
    IntervalSpinner->setObjectName(QStringLiteral("IntervalSpinner"));
    IntervalSpinner->setAccessibleName(IntervalLabel->text());
    IntervalSpinner->setRange(2, 98);
    IntervalSpinner->setSingleStep(2);
    IntervalSpinner->setValue(2);
    for (QWidget* widget : std::initializer_list<QWidget*>{RepeatLabel, RepeatSpinner, IntervalLabel, IntervalSpinner})
        layout->addWidget(widget);
    layout->addStretch(1);
    return line;
}

void TWordPanel::BuildSpelling() {
    PanelWordSet = new QWidget(this);
    PanelWordSet->setObjectName(QStringLiteral("PanelWordSet"));
    PanelWordSet->setFixedHeight(kSpellingHeight);
    SpellingLabel = NamedLabel("SpellingLabel", QStringLiteral("拼写单词"), PanelWordSet);
    SpellingLabel->move(8, 12);
    ImagePen = NamedLabel("ImagePen", QString(), PanelWordSet);
    ImagePen->setPixmap(PenPicture());
    ImagePen->setGeometry(kPenLeft, 6, 32, 32);
    SpellingEdit = new QLineEdit(PanelWordSet);
    SpellingEdit->setObjectName(QStringLiteral("SpellingEdit"));
    SpellingEdit->setAccessibleName(QStringLiteral("拼写"));
    SpellingEdit->setGeometry(kPenLeft + 48, 8, 260, 26);
    auto* underline = new QLabel(PanelWordSet);
    underline->setStyleSheet(QStringLiteral("background: #1F4E85;"));
    underline->setGeometry(kPenLeft + 48, 36, 260, 2);
}

bool TWordPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PWordRightTop && event->type() == QEvent::Resize) PWordRightTopResize();
    return QWidget::eventFilter(watched, event);
}

void TWordPanel::PWordRightTopResize() {
    PanelWordShow->move(PWordRightTop->width() / 2 - PanelWordShow->width() / 2,
                        PWordRightTop->height() / 2 - PanelWordShow->height() / 2);
    WordCard->move(5, 5);
}

void TWordPanel::ShowWordList(const std::string& classPath) {
    drill_.End();
    if (!dm_.OpenWordQuery(classPath)) return;
    std::vector<DrillWord> words;
    try {
        words = CopyWords(dm_.adoQryWord);
    } catch (const ESqliteError& e) {
        Log(LogLevel::Warning, "study", "word list of " + classPath + " is unusable: " + e.what());
        return;
    }
    drill_.SetWords(classPath, std::move(words));
    ExampleMemo->clear();
    if (!drill_.Words().empty()) ShowRecord(0);
    state_.Reading = RecordState::PageShown;
}

void TWordPanel::CloseWordList() {
    drill_.CloseWords();
    dm_.adoQryWord.Close();
}

void TWordPanel::EndDrill() { drill_.End(); }

void TWordPanel::ShowRecord(int index) {
    const DrillWord& word = drill_.Words().at(static_cast<size_t>(index));
    WordEdit->setText(Trimmed(word.word));
    PhoneticEdit->setText(QStringLiteral("[ ") + Trimmed(word.symbol) + QStringLiteral(" ]"));
    MeaningEdit->setText(Trimmed(word.meaning));
    ExampleMemo->clear();
    ExampleMemo->appendPlainText(QString::fromStdString(word.sentence));
    WordTotal->setText(QString::number(drill_.Words().size()));
    WordNumber->setText(QString::number(index + 1));
}

void TWordPanel::BtnWordStartClick() { drill_.Start(RepeatSpinner->value(), IntervalSpinner->value()); }

void TWordPanel::BtnWordPauseClick() { drill_.Pause(); }

void TWordPanel::BtnWordStopClick() { drill_.Stop(); }

void TWordPanel::ShowWord(int index) {
    SpellingEdit->clear();
    SpellingEdit->setFocus();
    ShowRecord(index);
}

void TWordPanel::RaisePen(bool raised) {
    ImagePen->move(ImagePen->x() + (raised ? kPenStep : -kPenStep), ImagePen->y());
}

WordDrillHost::SoundStart TWordPanel::PlaySound(const std::string& path) { return sound_->Play(path); }

void TWordPanel::StopSound() { sound_->Stop(); }

void TWordPanel::StartWait(int ms) { wait_.start(ms); }

void TWordPanel::CancelWait() { wait_.stop(); }

void TWordPanel::PassCompleted(int words) { emit drillPassCompleted(words); }

}  // namespace ov
