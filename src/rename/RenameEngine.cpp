#include "rename/RenameEngine.h"

namespace morvane {

void RenameEngine::RenameAll() {}

}  // namespace morvane
