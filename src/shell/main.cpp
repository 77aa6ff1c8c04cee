#include "present/MovieControl.h"
#include "shell/MallocArenas.h"
#include "shell/ProgramEntry.h"

#include <QApplication>

int main(int argc, char** argv) {
    ov::LimitMallocArenas();
    ov::PrepareMovieEngine();
    QApplication app(argc, argv);
    const int code = ov::RunPlayer(app);
    ov::CloseMovieEngine();
    return code;
}
