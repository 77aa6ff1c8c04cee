#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QVBoxLayout;

namespace ov {

// Lets the pupil choose the role to speak in the role swap. The caller lists
// the roles and sizes the dialog, shows it modally and reads ChosenRole().
class RoleDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 195;

    explicit RoleDialog(QWidget* parent = nullptr);

    void AddRole(const QString& name);
    int RoleCount() const;
    // The pupil's pick; empty until "确定选择" is pressed with a role selected.
    const QString& ChosenRole() const { return FChosenRole; }

    QGroupBox* RoleChoices;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

private:
    void BtnOKClick();

    QString FChosenRole;
    QButtonGroup* roles_;
    QVBoxLayout* roleLayout_;
};

}  // namespace ov
