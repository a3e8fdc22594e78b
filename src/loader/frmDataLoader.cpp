#include "frmDataLoader.h"

namespace loader {

frmDataLoader::frmDataLoader() : platform::Form("frmDataLoader", "Data Loader & Viewer") {
    SetClientSize(11400, 7800);
}

}  // namespace loader
