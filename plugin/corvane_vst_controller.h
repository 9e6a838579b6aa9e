// The instrument's edit controller (placeholder: no parameters, units or editor yet).
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class CorvaneVSTController : public EditControllerEx1 {
public:
    /// Factory create function: a new controller as IEditController, or null when out of memory.
    static FUnknown* createInstance(void* context);
};

}  // namespace Vst
}  // namespace Steinberg
