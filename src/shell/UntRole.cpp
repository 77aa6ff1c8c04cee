#include "shell/UntRole.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ov {

TFrmRole::TFrmRole(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TFrmRole"));
    setWindowTitle(QStringLiteral("角色"));
    setFixedWidth(kWidth);

    RzRadioGroup = new QGroupBox(QStringLiteral("                     请选择"), this);
    RzRadioGroup->setObjectName(QStringLiteral("RzRadioGroup"));
    roleLayout_ = new QVBoxLayout(RzRadioGroup);
    roleLayout_->setSpacing(8);
    roles_ = new QButtonGroup(this);

    BtnOK = new QPushButton(QStringLiteral("确定选择"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(BtnOK, &QPushButton::clicked, this, &TFrmRole::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(RzRadioGroup, 1);
    layout->addLayout(buttons);
}

void TFrmRole::AddRole(const QString& name) {
    auto* button = new QRadioButton(name, RzRadioGroup);
    roles_->addButton(button);
    roleLayout_->addWidget(button);
}

int TFrmRole::RoleCount() const {
    return static_cast<int>(roles_->buttons().size());
}

void TFrmRole::BtnOKClick() {
    if (QAbstractButton* selected = roles_->checkedButton()) FChosenRole = selected->text();
    accept();
}

}  // namespace ov
