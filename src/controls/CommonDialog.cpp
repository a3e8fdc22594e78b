#include "CommonDialog.h"

#include "Dialogs.h"

namespace platform {

bool CommonDialog::ShowOpen() {
    auto chosen = Dialogs().OpenFile({DialogTitle, DefaultExt, Filter, InitDir});
    if (!chosen) return false;
    FileName = *chosen;
    return true;
}

}  // namespace platform
