#pragma once

#include <functional>

class QApplication;
class QWidget;

namespace ovtest {

// The one application object of the test program. Settings go to a private
// folder so tests never touch the user's own.
QApplication& TestApp();

// Runs `action` on the modal dialog once it is showing; for driving exec().
void WhenModal(std::function<void(QWidget*)> action);

}  // namespace ovtest
