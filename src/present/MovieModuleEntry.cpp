// The three doors into the web engine's module, looked up by name when the
// program loads it (see MovieModule.cpp).
#include "present/MovieEngine.h"
#include "present/RuffleMovie.h"

extern "C" Q_DECL_EXPORT ov::TMovieControl* ovCreateMovieControl(QWidget* parent, const QString& name) {
    return new ov::TRuffleMovie(parent, name);
}

extern "C" Q_DECL_EXPORT void ovCloseMovieEngine() { ov::CloseMovieEngineModule(); }

extern "C" Q_DECL_EXPORT void ovWarmMovieEngine() { ov::TMovieEngine::Instance().Warm(); }
