// The program's version, as the build gives it: shown by --version, the about box and the package.
#pragma once

namespace zelk {

// "1.3"
const char* ZelkVersion();

} // namespace zelk
