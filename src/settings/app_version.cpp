// The version comes from the project's CMake file, the one place it is set.
#include "settings/app_version.h"

#ifndef ZELK_VERSION
#error "ZELK_VERSION is set by the build"
#endif

namespace zelk {

const char* ZelkVersion() {
    return ZELK_VERSION;
}

} // namespace zelk
