// Ruddock.exe, the current build.
#include "setup/win32/build_variant.h"

namespace tolvane {

const SetupVariant& BuildVariant() { return kRuddock; }

}  // namespace tolvane
