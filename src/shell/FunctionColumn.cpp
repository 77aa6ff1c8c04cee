#include "shell/FunctionColumn.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ov {

FunctionColumn::FunctionColumn(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelLeftFunction"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedWidth(kWidth);

    auto* inner = new QWidget(this);
    inner->setObjectName(QStringLiteral("PanelLeftFunctionContent"));
    inner->setAttribute(Qt::WA_StyledBackground);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(inner);

    layout_ = new QVBoxLayout(inner);
    layout_->setContentsMargins(8, 8, 8, 8);
    layout_->setSpacing(8);

    AddHeading(QStringLiteral("◎单词部分"));
    BtnWordRepare = AddButton("BtnWordRepare", QStringLiteral("单词预习"));
    BtnWordFollowRead = AddButton("BtnWordFollowRead", QStringLiteral("单词跟读"));
    BtnWordFollowWrite = AddButton("BtnWordFollowWrite", QStringLiteral("单词听写"));
    AddHeading(QStringLiteral("◎句子部分"));
    BtnSentenceFollowRead = AddButton("BtnSentenceFollowRead", QStringLiteral("句子跟读"));
    BtnDiscern = AddButton("BtnDiscern", QStringLiteral("句子听辩"));
    BtnRoleAct = AddButton("BtnRoleAct", QStringLiteral("角色互换"));
    AddHeading(QStringLiteral("◎测试部分"));
    BtnTest = AddButton("BtnTest", QStringLiteral("课后练习"));
    AddHeading(QStringLiteral("◎延伸部分"));
    BtnMusic = AddButton("BtnMusic", QStringLiteral("音乐茶座"));
    BtnEncampment = AddButton("BtnEncampment", QStringLiteral("动画欣赏"));
    BtnGames = AddButton("BtnGames", QStringLiteral("游戏乐园"));
    layout_->addStretch(1);

    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QPushButton* button : inner->findChildren<QPushButton*>()) group->addButton(button);
}

std::vector<std::pair<QPushButton*, TOVRule>> FunctionColumn::FunctionButtons() const {
    return {{BtnWordFollowRead, rWordFollowRead}, {BtnWordFollowWrite, rWordFollowWrite},
            {BtnSentenceFollowRead, rSentenceFollowRead}, {BtnDiscern, rDiscern},
            {BtnRoleAct, rRoleAct}, {BtnTest, rTest}, {BtnMusic, rMusic},
            {BtnEncampment, rEncampment}, {BtnGames, rGames}};
}

void FunctionColumn::AddHeading(const QString& text) {
    auto* heading = new QLabel(text, layout_->parentWidget());
    heading->setProperty("shellRole", QStringLiteral("heading"));
    if (layout_->count() > 0) layout_->addSpacing(4);
    layout_->addWidget(heading);
}

QPushButton* FunctionColumn::AddButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, layout_->parentWidget());
    button->setObjectName(QString::fromLatin1(name));
    button->setProperty("shellRole", QStringLiteral("study"));
    button->setCheckable(true);
    button->setCursor(Qt::PointingHandCursor);
    layout_->addWidget(button);
    return button;
}

}  // namespace ov
