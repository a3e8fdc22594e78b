#include "Windows.h"

namespace loader {

controls::FormInstance<frmDataLoader>& DataLoaderWindow() {
    static controls::FormInstance<frmDataLoader> instance;
    return instance;
}

}  // namespace loader
