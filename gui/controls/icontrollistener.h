#pragma once
#include "gui/lib/vstguifwd.h"

namespace VSTGUI {

/** Receives the value changes and edit gestures of controls. */
class IControlListener {
public:
    virtual ~IControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    virtual void controlBeginEdit(CControl* /*control*/) {}
    virtual void controlEndEdit(CControl* /*control*/) {}
    virtual void controlTagWillChange(CControl* /*control*/) {}
    virtual void controlTagDidChange(CControl* /*control*/) {}
};

}  // namespace VSTGUI
