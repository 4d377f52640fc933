#include "ops/textfile/RowLock.h"

#include "host/Dialogs.h"
#include "host/Messages.h"

namespace morvane {

bool RowLock::ConfirmUnlockRows() {
    if (holder_ == nullptr)
        return true;
    if (!dialogs_.AskYesNo(msg::kUnlockQuestion, msg::kUnlockCaption))
        return false;
    holder_->UnlockRows();
    return true;
}

}  // namespace morvane
