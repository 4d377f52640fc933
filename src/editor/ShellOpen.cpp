#include "editor/ShellOpen.h"

namespace morvane {

void ShellOpen::ShellOpenPath(const std::string&) {}
void ShellOpen::ReportShellExecuteError(int, const std::string&) {}
void ShellOpen::OpenSelectedEntries() {}

}  // namespace morvane
