#pragma once

#include "Form.h"
#include "frmDataLoader.h"
#include "frmFilterResults.h"
#include "frmHistory.h"

namespace loader {

// The one instance of each window of this layer, created on first use.
controls::FormInstance<frmDataLoader>& DataLoaderWindow();

}  // namespace loader
