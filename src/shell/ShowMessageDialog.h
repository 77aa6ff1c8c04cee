#pragma once

#include <QString>

namespace ov {

// Shows the message dialog modally: 1 when "确定" closed it, 2 otherwise.
int ShowMessageDialog(const QString& caption, const QString& text, int kind);

// Points the lower layers' ShowMessageEx at the message dialog.
void InstallMessageDialog();

}  // namespace ov
