#pragma once

#include "Form.h"

namespace loader {

// The working window: samples and results are keyed in and the database is browsed here.
class frmDataLoader : public platform::Form {
  public:
    frmDataLoader();
};

}  // namespace loader
