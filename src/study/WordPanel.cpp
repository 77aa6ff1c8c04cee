#include "study/WordPanel.h"

#include "core/Log.h"
#include "store/SqliteDatabase.h"
#include "store/SqliteQuery.h"
#include "store/UntDM.h"
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

QLineEdit* CardEdit(const char* name, int top, int height, const QString& style, QWidget* card) {
    auto* edit = new QLineEdit(card);
    edit->setObjectName(QString::fromLatin1(name));
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

TWordPanel::TWordPanel(TFrmDM& dm, TClassShowState& state, QWidget* parent)
    : QWidget(parent), dm_(dm), state_(state), drill_(*this, state), sound_(new WordSound(this)) {
    setObjectName(QStringLiteral("PWord"));
    wait_.setSingleShot(true);
    // The drill's waits are never shorter than asked, as a coarse timer's may be.
    wait_.setTimerType(Qt::PreciseTimer);
    connect(&wait_, &QTimer::timeout, this, [this] { drill_.WaitElapsed(); });
    connect(sound_, &WordSound::Finished, this, [this] { drill_.SoundFinished(); });
    BuildCard();
    BuildSpelling();
    RzMemo1 = new QPlainTextEdit(this);
    RzMemo1->setObjectName(QStringLiteral("RzMemo1"));
    RzMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RzMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RzMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RzMemo1->setFont(QFont(QStringLiteral("新宋体"), 14));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(PWordRightTop);
    layout->addWidget(BuildCountLine());
    layout->addWidget(BuildSettings());
    layout->addWidget(RzMemo1, 1);
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
    connect(SeSkinSpinEdit2, &QSpinBox::valueChanged, this, [this](int seconds) { drill_.SetInterval(seconds); });
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

    RzPanelWordTopShow = new QWidget(PanelWordShow);
    RzPanelWordTopShow->setObjectName(QStringLiteral("RzPanelWordTopShow"));
    RzPanelWordTopShow->setStyleSheet(QStringLiteral("background: black;"));
    RzPanelWordTopShow->setGeometry(5, 5, kCardWidth - 10, kCardHeight - 10);
    RzExpandEdit1 = CardEdit("RzExpandEdit1", 6, 60, QStringLiteral("font: bold 36pt;"), RzPanelWordTopShow);
    RzExpandEdit2 = CardEdit("RzExpandEdit2", 70, 34, QStringLiteral("font: bold 16pt;"), RzPanelWordTopShow);
    RzExpandEdit3 = CardEdit("RzExpandEdit3", 108, 34, QStringLiteral("font: 16pt \"宋体\";"), RzPanelWordTopShow);
}

QWidget* TWordPanel::BuildCountLine() {
    auto* line = new QWidget(this);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    RzLabel5 = NamedLabel("RzLabel5", QStringLiteral("本课共有"), line);
    RzLabel7 = NamedLabel("RzLabel7", QString(), line);
    RzLabel8 = NamedLabel("RzLabel8", QStringLiteral("个单词，现在是第"), line);
    RzLabel9 = NamedLabel("RzLabel9", QString(), line);
    RzLabel10 = NamedLabel("RzLabel10", QStringLiteral("个"), line);
    for (QLabel* count : {RzLabel7, RzLabel9}) count->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    for (QLabel* label : {RzLabel5, RzLabel7, RzLabel8, RzLabel9, RzLabel10}) layout->addWidget(label);
    layout->addStretch(1);
    return line;
}

QWidget* TWordPanel::BuildSettings() {
    auto* line = new QWidget(this);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    RzLabel15 = NamedLabel("RzLabel15", QStringLiteral("朗读次数"), line);
    SeSkinSpinEdit1 = new QSpinBox(line);
    SeSkinSpinEdit1->setObjectName(QStringLiteral("SeSkinSpinEdit1"));
    SeSkinSpinEdit1->setRange(1, 99);
    SeSkinSpinEdit1->setValue(1);
    RzLabel16 = NamedLabel("RzLabel16", QStringLiteral("时间间隔"), line);
    SeSkinSpinEdit2 = new QSpinBox(line);
    SeSkinSpinEdit2->setObjectName(QStringLiteral("SeSkinSpinEdit2"));
    SeSkinSpinEdit2->setRange(2, 98);
    SeSkinSpinEdit2->setSingleStep(2);
    SeSkinSpinEdit2->setValue(2);
    for (QWidget* widget : std::initializer_list<QWidget*>{RzLabel15, SeSkinSpinEdit1, RzLabel16, SeSkinSpinEdit2})
        layout->addWidget(widget);
    layout->addStretch(1);
    return line;
}

void TWordPanel::BuildSpelling() {
    PanelWordSet = new QWidget(this);
    PanelWordSet->setObjectName(QStringLiteral("PanelWordSet"));
    PanelWordSet->setFixedHeight(kSpellingHeight);
    RzLabel14 = NamedLabel("RzLabel14", QStringLiteral("拼写单词"), PanelWordSet);
    RzLabel14->move(8, 12);
    ImagePen = NamedLabel("ImagePen", QString(), PanelWordSet);
    ImagePen->setPixmap(PenPicture());
    ImagePen->setGeometry(kPenLeft, 6, 32, 32);
    EdtWirteWord = new QLineEdit(PanelWordSet);
    EdtWirteWord->setObjectName(QStringLiteral("EdtWirteWord"));
    EdtWirteWord->setGeometry(kPenLeft + 48, 8, 260, 26);
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
    RzPanelWordTopShow->move(5, 5);
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
    RzMemo1->clear();
    if (!drill_.Words().empty()) ShowRecord(0);
    state_.FRecordState = RecordState::PageShown;
}

void TWordPanel::CloseWordList() {
    drill_.CloseWords();
    dm_.adoQryWord.Close();
}

void TWordPanel::EndDrill() { drill_.End(); }

void TWordPanel::ShowRecord(int index) {
    const DrillWord& word = drill_.Words().at(static_cast<size_t>(index));
    RzExpandEdit1->setText(Trimmed(word.word));
    RzExpandEdit2->setText(QStringLiteral("[ ") + Trimmed(word.symbol) + QStringLiteral(" ]"));
    RzExpandEdit3->setText(Trimmed(word.meaning));
    RzMemo1->clear();
    RzMemo1->appendPlainText(QString::fromStdString(word.sentence));
    RzLabel7->setText(QString::number(drill_.Words().size()));
    RzLabel9->setText(QString::number(index + 1));
}

void TWordPanel::BtnWordStartClick() { drill_.Start(SeSkinSpinEdit1->value(), SeSkinSpinEdit2->value()); }

void TWordPanel::BtnWordPauseClick() { drill_.Pause(); }

void TWordPanel::BtnWordStopClick() { drill_.Stop(); }

void TWordPanel::ShowWord(int index) {
    EdtWirteWord->clear();
    EdtWirteWord->setFocus();
    ShowRecord(index);
}

void TWordPanel::RaisePen(bool raised) {
    ImagePen->move(ImagePen->x() + (raised ? kPenStep : -kPenStep), ImagePen->y());
}

WordDrillHost::SoundStart TWordPanel::PlaySound(const std::string& path) { return sound_->Play(path); }

void TWordPanel::StopSound() { sound_->Stop(); }

void TWordPanel::StartWait(int ms) { wait_.start(ms); }

void TWordPanel::CancelWait() { wait_.stop(); }

}  // namespace ov
