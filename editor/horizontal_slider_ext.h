// The editor's slider: a turn of the ordinary (vertical) wheel moves it along, as a
// horizontal scroll would.
#pragma once

#include "gui/controls/cslider.h"

namespace Steinberg {
namespace Vst {

class CHorizontalSliderExt : public VSTGUI::CHorizontalSlider {
public:
    using VSTGUI::CHorizontalSlider::CHorizontalSlider;

    bool onWheel(const VSTGUI::CPoint& where, const VSTGUI::CMouseWheelAxis& axis, const float& distance,
                 const VSTGUI::CButtonState& buttons) override {
        if (axis == VSTGUI::kMouseWheelAxisY)
            return VSTGUI::CHorizontalSlider::onWheel(where, VSTGUI::kMouseWheelAxisX, -distance, buttons);
        return VSTGUI::CHorizontalSlider::onWheel(where, axis, distance, buttons);
    }
};

}  // namespace Vst
}  // namespace Steinberg
