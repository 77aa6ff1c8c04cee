#include "shell/MessageDialog.h"

#include "shell/PaintedPictures.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace ov {
namespace {

constexpr int kMarkSize = 30;
constexpr int kButtonWidth = 52;
constexpr int kButtonHeight = 22;
constexpr int kButtonTop = 106;
constexpr int kTextTop = 42;
constexpr int kRightMargin = 8;
// The rule that sets the buttons apart from the text; text stays above it.
constexpr int kRuleTop = kButtonTop - 8;

QLabel* MarkLabel(QWidget* parent, const char* name, bool question, int left) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, 5, kMarkSize, kMarkSize);
    label->setPixmap(MessageMark(question, kMarkSize));
    return label;
}

QPushButton* DialogButton(QWidget* parent, const char* name, int left) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
    // The style sheet's padding would not leave room for two characters in 52 px.
    button->setStyleSheet(QStringLiteral("padding: 0px;"));
    return button;
}

}  // namespace

MessageDialog::MessageDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmShowMessage"));
    setFixedSize(kClientWidth, kClientHeight);

    ImageHint = MarkLabel(this, "ImageHint", false, 14);
    ImageQuestion = MarkLabel(this, "ImageQuestion", true, 15);

    lbHint = new QLabel(this);
    lbHint->setObjectName(QStringLiteral("lbHint"));
    lbHint->setAttribute(Qt::WA_TranslucentBackground);
    lbHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbHint->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    lbHint->setFont(font);
    lbHint->setStyleSheet(QStringLiteral("color: black; background: transparent;"));

    BtnOK = DialogButton(this, "BtnOK", 125);
    BtnCancel = DialogButton(this, "BtnCancel", 199);
    connect(BtnOK, &QPushButton::clicked, this, [this] { done(kOkResult); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { done(kCancelResult); });

    PanelClose = new QWidget(this);
    PanelClose->setObjectName(QStringLiteral("PanelClose"));
    PanelClose->setGeometry(kClientWidth - 15 - 4, 4, 15, 13);
}

void MessageDialog::Prepare(const QString& caption, const QString& text, int kind) {
    setWindowTitle(caption);
    setAccessibleName(caption);
    PlaceButtons(kind);
    FitText(text);
    MakeRoomForText();
}

void MessageDialog::PlaceButtons(int kind) {
    const bool question = kind == 1;
    ImageHint->setVisible(!question);
    ImageQuestion->setVisible(question);
    BtnCancel->setVisible(question);
    BtnOK->setText(QStringLiteral("确定"));
    BtnCancel->setText(QStringLiteral("取消"));
    if (question) {
        const int gap = (kClientWidth - BtnOK->width() - BtnCancel->width()) / 3;
        BtnOK->move(gap, kButtonTop);
        BtnCancel->move(BtnOK->width() + 2 * gap, kButtonTop);
    } else {
        BtnOK->move(kClientWidth / 2 - BtnOK->width() / 2, kButtonTop);
    }
    BtnOK->setVisible(true);
    BtnOK->setDefault(true);
}

void MessageDialog::FitText(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lbHint->setText(lines);
    lbHint->setWordWrap(false);
    lbHint->adjustSize();
    const int left = ImageQuestion->x() + ImageQuestion->width() + 2;
    // Measured against the room right of the icon, not the whole dialog, so a
    // line that would run past the right edge wraps instead of being cut.
    const int room = kClientWidth - left - kRightMargin;
    if (lbHint->width() > room) {
        lbHint->setWordWrap(true);
        lbHint->resize(room, lbHint->heightForWidth(room));
    }
    lbHint->move(left, kTextTop);
    setAccessibleDescription(lines);
}

void MessageDialog::MakeRoomForText() {
    // The score text has five lines, more than the room above the rule holds
    // in the CJK face; buttons over the text would hide the score itself.
    FGrowth = std::max(0, kTextTop + lbHint->height() + 2 - kRuleTop);
    setFixedSize(kClientWidth, kClientHeight + FGrowth);
    BtnOK->move(BtnOK->x(), kButtonTop + FGrowth);
    BtnCancel->move(BtnCancel->x(), kButtonTop + FGrowth);
}

void MessageDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    background.setColorAt(1, QColor(0xEA, 0xF3, 0xFB));
    p.fillRect(rect(), background);
    p.setPen(QColor(0xB9, 0xD3, 0xEE));
    p.drawLine(0, kRuleTop + FGrowth, width(), kRuleTop + FGrowth);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xB9, 0xD3, 0xEE));
    p.drawRoundedRect(PanelClose->geometry(), 3, 3);
}

}  // namespace ov
