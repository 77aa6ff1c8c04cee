#pragma once

#include <filesystem>

namespace ov {

// The folder the installation lives in: DB/, Resources/, Records/, ENoises/
// and Images/ are beside the program. OV_HOME overrides the executable's
// folder, so tests and the demo run against a folder of their own.
std::filesystem::path ProgramFolder();

}  // namespace ov
