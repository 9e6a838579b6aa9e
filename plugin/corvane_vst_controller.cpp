#include "plugin/corvane_vst_controller.h"

#include <new>

namespace Steinberg {
namespace Vst {

FUnknown* CorvaneVSTController::createInstance(void* /*context*/) {
    return static_cast<IEditController*>(new (std::nothrow) CorvaneVSTController);
}

}  // namespace Vst
}  // namespace Steinberg
