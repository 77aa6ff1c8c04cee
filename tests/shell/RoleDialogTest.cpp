#include "shell/RoleDialog.h"

#include "TestApp.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct RoleCase {
    const char* what;
    QStringList roles;
    int selected;  // -1: none
    bool confirm;
    const char* chosen;
};

TEST(RoleDialog, ChosenRoleOnlyWhenARoleIsPickedAndConfirmed) {
    ovtest::TestApp();
    const RoleCase cases[] = {
        {"picked and confirmed", {"Tom", "Lily"}, 1, true, "Lily"},
        {"cancelled", {"Tom", "Lily"}, 0, false, ""},
        {"no roles listed", {}, -1, true, ""},
        {"nothing picked", {"Tom"}, -1, true, ""},
    };
    for (const auto& c : cases) {
        ov::RoleDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), "角色");
        EXPECT_EQ(dialog.width(), 195);
        EXPECT_EQ(dialog.RoleChoices->title(), "                     请选择");
        for (const QString& role : c.roles) dialog.AddRole(role);
        EXPECT_EQ(dialog.RoleCount(), c.roles.size());
        const auto buttons = dialog.RoleChoices->findChildren<QRadioButton*>();
        if (c.selected >= 0) buttons[c.selected]->setChecked(true);
        ovtest::WhenModal([&](QWidget*) {
            QTest::mouseClick(c.confirm ? dialog.BtnOK : dialog.BtnCancel, Qt::LeftButton);
        });
        dialog.exec();
        EXPECT_EQ(dialog.ChosenRole(), c.chosen) << c.what;
    }
}

}  // namespace
