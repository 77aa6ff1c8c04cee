#include "present/MissingMovie.h"
#include "present/MovieControl.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>
#include <QOpenGLContext>

#include <unistd.h>

// Qt's own hook for the context every GL context of the program shares; the
// application makes it only when told so before it starts.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace ov {
namespace {

using CreateFunction = TMovieControl* (*)(QWidget*, const QString&);
using EngineFunction = void (*)();

struct Module {
    bool tried = false;
    CreateFunction create = nullptr;
    EngineFunction close = nullptr;
    EngineFunction warm = nullptr;
};

Module module;

// Beside an installed program, else in the build tree.
QStringList ModuleCandidates() {
    return {QCoreApplication::applicationDirPath() + "/../lib/ovplayer/ovmovie.so",
            QStringLiteral(OV_MOVIE_MODULE_BUILD)};
}

// The web engine draws through a context shared with the program's. Made at
// the application's start it would load the GL driver into every run, so it
// is made here, before the engine starts, and only for the first movie.
void ShareGlContexts() {
    if (QOpenGLContext::globalShareContext()) return;
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

bool LoadModule() {
    if (module.tried) return module.create != nullptr;
    module.tried = true;
    ShareGlContexts();
    for (const QString& path : ModuleCandidates()) {
        // Never unloaded: its objects live as long as the program.
        auto* library = new QLibrary(path);
        const auto create = reinterpret_cast<CreateFunction>(library->resolve("ovCreateMovieControl"));
        const auto close = reinterpret_cast<EngineFunction>(library->resolve("ovCloseMovieEngine"));
        const auto warm = reinterpret_cast<EngineFunction>(library->resolve("ovWarmMovieEngine"));
        if (create && close && warm) {
            module.create = create;
            module.close = close;
            module.warm = warm;
            return true;
        }
        delete library;
    }
    return false;
}

}  // namespace

TMovieControl* CreateMovieControl(QWidget* parent, const QString& name) {
    if (LoadModule()) return module.create(parent, name);
    return new TMissingMovie(parent, name);
}

void PrepareMovieEngine() {
    // Chromium's sandbox refuses to start for root (school machines and
    // our build machines often run the player so), and the web engine then
    // quits the whole program. The movie pages are our own and read only
    // local files, which is what the sandbox would have guarded.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The web engine describes its GL set-up on stderr at every start; a
    // pupil's terminal has no use for it (QT_LOGGING_RULES still turns it on).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

void WarmMovieEngine() {
    if (LoadModule()) module.warm();
}

void CloseMovieEngine() {
    if (module.close) module.close();
}

bool MovieEngineLoaded() { return module.create != nullptr; }

}  // namespace ov
