#pragma once
// Which of the two builds this program is: each executable links the one
// source file that answers (ruddock_variant.cpp or ruddset_variant.cpp).

#include "setup/setup_variant.h"

namespace tolvane {

const SetupVariant& BuildVariant();

}  // namespace tolvane
