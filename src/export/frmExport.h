#pragma once

#include "Form.h"

namespace exporter {

// Writes the hand-entered samples and their results to CSV files.
class frmExport : public platform::Form {
  public:
    frmExport();
};

platform::FormInstance<frmExport>& ExportWindow();

}  // namespace exporter
