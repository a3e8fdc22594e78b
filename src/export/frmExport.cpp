#include "frmExport.h"

namespace exporter {

frmExport::frmExport() : platform::Form("frmExport", "Export Data") { SetClientSize(7200, 4200); }

platform::FormInstance<frmExport>& ExportWindow() {
    static platform::FormInstance<frmExport> instance;
    return instance;
}

}  // namespace exporter
