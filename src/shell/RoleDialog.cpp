#include "shell/RoleDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ov {

RoleDialog::RoleDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("RoleDialog"));
    setWindowTitle(QStringLiteral("角色"));
    setFixedWidth(kWidth);

    RoleChoices = new QGroupBox(QStringLiteral("                     请选择"), this);
    RoleChoices->setObjectName(QStringLiteral("RoleChoices"));
    roleLayout_ = new QVBoxLayout(RoleChoices);
    roleLayout_->setSpacing(8);
    roles_ = new QButtonGroup(this);

    BtnOK = new QPushButton(QStringLiteral("确定选择"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(BtnOK, &QPushButton::clicked, this, &RoleDialog::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(RoleChoices, 1);
    layout->addLayout(buttons);
}

void RoleDialog::AddRole(const QString& name) {
    auto* button = new QRadioButton(name, RoleChoices);
    roles_->addButton(button);
    roleLayout_->addWidget(button);
}

int RoleDialog::RoleCount() const {
    return static_cast<int>(roles_->buttons().size());
}

void RoleDialog::BtnOKClick() {
    if (QAbstractButton* selected = roles_->checkedButton()) FChosenRole = selected->text();
    accept();
}

}  // namespace ov
