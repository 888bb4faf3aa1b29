// Ruddset.exe, the older build.
#include "setup/win32/build_variant.h"

namespace tolvane {

const SetupVariant& BuildVariant() { return kRuddset; }

PortDialogsOpener BuildPortDialogs() { return nullptr; }

}  // namespace tolvane
