#include "lesson/LessonDocument.h"

#include "lesson/LessonLayout.h"

namespace ov {

LessonDocument::LessonDocument(std::filesystem::path folder, std::string fileName, bool createNew)
    : LessonXmlFile(std::move(folder), std::move(fileName), createNew) {
    InitialiseOrOpen();
}

void LessonDocument::Initialise() { InitialiseWith(layout::AppendLessonSkeleton); }

}  // namespace ov
