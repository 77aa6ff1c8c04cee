#include "ToolCommand.h"

namespace ovtool {

void AddPackageCommands(CLI::App&) {}

}  // namespace ovtool
