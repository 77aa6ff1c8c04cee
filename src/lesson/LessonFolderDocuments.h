#pragma once

// The XML documents of a lesson folder: the base, the function index and the
// lesson document.
#include "lesson/LessonDocument.h"
#include "lesson/FunctionIndexFile.h"
#include "lesson/LessonXmlFile.h"
