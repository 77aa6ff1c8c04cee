#include "present/MissingMovie.h"

#include "core/MessageHook.h"

namespace ov {

void TMissingMovie::SetMovie(const QString& path) {
    const bool told = !movie_.isEmpty();
    movie_ = path;
    SetFileName(path);
    if (!told) ShowMessageEx("提示", "未找到资源，编号 : " + name_.toStdString(), 0);
}

}  // namespace ov
