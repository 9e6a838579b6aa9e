#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {
namespace Vst {

// Fixed for the life of the product: hosts store them in projects to find the classes again.

/** Class id of CorvaneVSTProcessor. */
static const FUID kCorvaneProcessorUID(0x5EA2803C, 0x747E41E7, 0x89E50BF6, 0xBDC5DAB4);
/** Class id of CorvaneVSTController. */
static const FUID kCorvaneControllerUID(0x1478CB95, 0x82D24D55, 0xBF384A23, 0xC76629DF);

}  // namespace Vst
}  // namespace Steinberg
