#include "shell/FunctionColumn.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

#include "present/StudyFunctions.h"

namespace ov {
namespace {

const char* const kPreviewGroup = "◎单词部分";

}  // namespace

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

    // The word preview heads the first group; every other button is a study
    // function's, under its group's heading.
    const char* heading = kPreviewGroup;
    AddHeading(QString::fromUtf8(heading));
    BtnWordRepare = AddButton("BtnWordRepare", QStringLiteral("单词预习"));
    for (const StudyFunction* function : ColumnFunctions()) {
        if (std::strcmp(function->group, heading) != 0) AddHeading(QString::fromUtf8(heading = function->group));
        QPushButton* button = AddButton(function->buttonName, QString::fromUtf8(function->caption));
        functionButtons_.emplace_back(button, function->kind);
    }
    layout_->addStretch(1);

    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QPushButton* button : inner->findChildren<QPushButton*>()) group->addButton(button);
}

QPushButton* FunctionColumn::Button(TOVRule kind) const {
    for (const auto& [button, buttonKind] : functionButtons_)
        if (buttonKind == kind) return button;
    return nullptr;
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
