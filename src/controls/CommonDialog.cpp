#include "CommonDialog.h"

#include "Dialogs.h"

namespace controls {

bool CommonDialog::ShowOpen() {
    auto chosen = Dialogs().OpenFile({DialogTitle, DefaultExt, Filter, InitDir});
    if (!chosen) return false;
    FileName = *chosen;
    return true;
}

}  // namespace controls
