#include "shell/TopBarPanel.h"

#include "shell/ApplicationTitle.h"
#include "shell/PaintedPictures.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>

namespace ov {
namespace {

constexpr int kMarkLeft = 20;
constexpr int kMarkSize = 48;

QToolButton* TopBarButton(QWidget* parent, const char* name, TopBarPicture picture, const QString& text) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setProperty("shellRole", QStringLiteral("topbar"));
    button->setIcon(TopBarIcon(picture));
    button->setIconSize(QSize(28, 28));
    button->setText(text);
    button->setToolTip(text);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(60, 60);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

TopBarPanel::TopBarPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelTop"));
    setFixedHeight(kHeight);

    TopButtons = new QWidget(this);
    TopButtons->setObjectName(QStringLiteral("TopButtons"));
    ShopButton = TopBarButton(TopButtons, "ShopButton", TopBarPicture::Shop, QStringLiteral("商城"));
    HomeButton = TopBarButton(TopButtons, "HomeButton", TopBarPicture::Home, QStringLiteral("主页"));
    RecordButton = TopBarButton(TopButtons, "RecordButton", TopBarPicture::Record, QStringLiteral("学习记录"));
    // Four characters need more room than the two of its neighbours.
    RecordButton->setFixedWidth(76);
    HelpButton = TopBarButton(TopButtons, "HelpButton", TopBarPicture::Help, QStringLiteral("帮助"));
    BtnMinimise = TopBarButton(TopButtons, "BtnMinimise", TopBarPicture::Minimise, QStringLiteral("最小化"));
    CloseButton = TopBarButton(TopButtons, "CloseButton", TopBarPicture::Close, QStringLiteral("关闭"));

    auto* group = new QHBoxLayout(TopButtons);
    group->setContentsMargins(0, 0, 0, 0);
    group->setSpacing(4);
    for (QToolButton* button : {ShopButton, HomeButton, RecordButton, HelpButton, BtnMinimise, CloseButton})
        group->addWidget(button);

    // The stretch keeps the group at the right edge whatever the width.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 12, 0);
    layout->addStretch(1);
    layout->addWidget(TopButtons, 0, Qt::AlignVCenter);
}

void TopBarPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintSkyGradient(p, rect());
    const QRectF mark(kMarkLeft, (height() - kMarkSize) / 2.0, kMarkSize, kMarkSize);
    PaintBookMark(p, mark);

    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(26);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    const int textLeft = kMarkLeft + kMarkSize + 12;
    p.drawText(QRect(textLeft, 0, width() - textLeft, height()), Qt::AlignVCenter | Qt::AlignLeft,
               ApplicationTitle());
}

}  // namespace ov
