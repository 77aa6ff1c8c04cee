#include "present/MissingMovie.h"

namespace ov {

void TMissingMovie::SetMovie(const QString& path) {
    movie_ = path;
    SetFileName(path);
    TellUnplayable(name_);
}

}  // namespace ov
