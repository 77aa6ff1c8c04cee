#include "TestApp.h"

#include "present/MovieControl.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace ovtest {
namespace {

struct AppState {
    int argc = 1;
    char name[15] = "ov_shell_tests";
    char* argv[2] = {name, nullptr};
    TempDir settingsFolder;
    std::unique_ptr<QApplication> app;
};

std::unique_ptr<AppState> state;

// The application must go before the program's static objects do, or Qt
// crashes at exit; the test environment's tear-down runs early enough.
class AppEnvironment : public testing::Environment {
public:
    void TearDown() override {
        ov::CloseMovieEngine();
        state.reset();
    }
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

QApplication& TestApp() {
    if (!state) {
        // ctest passes this through the test's environment; a direct run of
        // the program without a display must not abort either.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        state = std::make_unique<AppState>();
        ov::PrepareMovieEngine();
        state->app = std::make_unique<QApplication>(state->argc, state->argv);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(state->settingsFolder.path().string()));
    }
    return *state->app;
}

void WhenModal(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer(&TestApp());
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start();
}

}  // namespace ovtest
