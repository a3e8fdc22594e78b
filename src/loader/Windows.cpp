#include "Windows.h"

namespace loader {

platform::FormInstance<frmDataLoader>& DataLoaderWindow() {
    static platform::FormInstance<frmDataLoader> instance;
    return instance;
}

}  // namespace loader
