#include "lesson/ChXMLA.h"

#include "lesson/LessonLayout.h"

namespace ov {

TChXMLA::TChXMLA(std::filesystem::path folder, std::string fileName, bool createNew)
    : TOVXML(std::move(folder), std::move(fileName), createNew) {
    InitialiseOrOpen();
}

void TChXMLA::Initialise() { InitialiseWith(layout::AppendLessonSkeleton); }

}  // namespace ov
