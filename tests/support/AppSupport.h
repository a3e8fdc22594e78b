// For tests that open the program's own windows: drops every window the program keeps
// open between uses, then resets what the lower layers keep.
#pragma once

#include "MDIMain.h"
#include "RememberedLocation.h"
#include "TestSupport.h"
#include "Windows.h"
#include "frmExport.h"
#include "frmImportAccess.h"
#include "frmImportResults.h"
#include "frmPlot.h"
#include "frmRecordSummary.h"
#include "frmReview.h"

namespace testing_support {

inline void ResetApp() {
    app::DropWindows();
    app::SetLocationWriter(nullptr);
    ResetProgram();
}

}  // namespace testing_support
