#pragma once

// The XML documents of a lesson folder: the base, the function index and the
// lesson document.
#include "lesson/ChXMLA.h"
#include "lesson/OVIndex.h"
#include "lesson/OVXML.h"
