#include "study/WordPanel.h"

#include "store/SqliteQuery.h"
#include "store/UntDM.h"
#include "study/PenPicture.h"
#include "study/WaitMs.h"
#include "study/WordMovie.h"
#include "study/WordSound.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <filesystem>
#include <string_view>

namespace ov {
namespace {

const char* const kWordSoundExtensions[] = {".wav", ".mp3", ".swf"};
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

}  // namespace

TWordPanel::TWordPanel(TFrmDM& dm, TClassShowState& state, QWidget* parent)
    : QWidget(parent), dm_(dm), state_(state) {
    setObjectName(QStringLiteral("PWord"));
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

SqliteQuery& TWordPanel::Query() { return dm_.adoQryWord; }

void TWordPanel::ShowWordList(const std::string& classPath) {
    if (!dm_.OpenWordQuery(classPath)) return;
    classPath_ = classPath;
    RzMemo1->clear();
    if (Query().RecordCount() > 0) ShowRecord();
    state_.FRecordState = 2;
}

void TWordPanel::CloseWordList() { Query().Close(); }

void TWordPanel::ShowRecord() {
    const SqliteQuery& query = Query();
    RzExpandEdit1->setText(Trimmed(query.FieldByName("word")));
    RzExpandEdit2->setText(QStringLiteral("[ ") + Trimmed(query.FieldByName("symbol")) + QStringLiteral(" ]"));
    RzExpandEdit3->setText(Trimmed(query.FieldByName("Acceptation")));
    RzMemo1->clear();
    RzMemo1->appendPlainText(QString::fromStdString(query.FieldByName("ExpSentence")));
    RzLabel7->setText(QString::number(query.RecordCount()));
    RzLabel9->setText(QString::number(query.RecNo()));
}

void TWordPanel::BtnWordStartClick() {
    if (!Query().Active()) return;
    const int passes = SeSkinSpinEdit1->value();
    if (passes <= 0) return;
    const QPointer<TWordPanel> alive(this);
    for (int pass = 0; pass < passes; ++pass) {
        SqliteQuery& query = Query();
        query.First();
        state_.FStopWord = false;
        state_.FPauseWord = false;
        while (!query.Eof()) {
            if (state_.FStopWord || state_.FPauseWord) return;
            if (state_.FResumeRecNo > 0) {
                query.First();
                query.MoveBy(state_.FResumeRecNo);
                state_.FResumeRecNo = 0;
            }
            PanelWordSet->repaint();
            // The window paints during the pause but the pupil's clicks wait for
            // the word, as they did when this pause blocked the window.
            WaitMs(kBeforeWordMs, QEventLoop::ExcludeUserInputEvents);
            if (!alive) return;
            ImagePen->move(ImagePen->x() + kPenStep, ImagePen->y());
            PanelWordSet->repaint();
            EdtWirteWord->clear();
            EdtWirteWord->setFocus();
            ShowRecord();
            if (!PlayWordSounds(query.FieldByName("word")) || !alive) return;
            ImagePen->move(ImagePen->x() - kPenStep, ImagePen->y());
            if (!query.Active()) return;
            query.Next();
        }
    }
}

bool TWordPanel::PlayWordSounds(const std::string& word) {
    const QPointer<TWordPanel> alive(this);
    for (const char* extension : kWordSoundExtensions) {
        if (!Query().Active()) return false;
        const std::string name = classPath_ + "/w_" + word + extension;
        std::error_code ec;
        if (!std::filesystem::exists(name, ec)) continue;
        if (std::string_view(extension) == ".swf")
            PlayWordMovie(QString::fromStdString(name), this);
        else
            PlayWordSound(name);
        if (!alive) return false;
        WaitMs(SeSkinSpinEdit2->value() * 1000 - 1);
        if (!alive) return false;
    }
    return true;
}

void TWordPanel::BtnWordPauseClick() {
    state_.FPauseWord = true;
    state_.FResumeRecNo = Query().RecNo();
}

void TWordPanel::BtnWordStopClick() { state_.FStopWord = true; }

}  // namespace ov
