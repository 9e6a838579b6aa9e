#pragma once
#include "gui/controls/icontrollistener.h"
#include "gui/lib/cview.h"

namespace VSTGUI {

/** A view with a value between min and max, a tag and a listener. */
class CControl : public CView {
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, int32_t tag = 0,
             CBitmap* background = nullptr);

    /** Sets the value, clamped to min..max; redraws when it changes. The listener is not told. */
    virtual void setValue(float value);
    virtual float getValue() const { return value_; }
    virtual void setValueNormalized(float value);
    virtual float getValueNormalized() const;

    virtual void setMin(float v) { min_ = v; }
    virtual float getMin() const { return min_; }
    virtual void setMax(float v) { max_ = v; }
    virtual float getMax() const { return max_; }
    float getRange() const { return max_ - min_; }
    void setDefaultValue(float v) { default_ = v; }
    float getDefaultValue() const { return default_; }
    void setOldValue(float v) { oldValue_ = v; }
    float getOldValue() const { return oldValue_; }
    /** Keeps the value inside min..max. */
    void bounceValue();

    /** Tells the listener that the value changed. */
    virtual void valueChanged();
    /** A gesture starts (ends): the listener and the frame's editor are told. */
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing_ > 0; }

    void setTag(int32_t tag);
    int32_t getTag() const { return tag_; }
    void setListener(IControlListener* listener) { listener_ = listener; }
    IControlListener* getListener() const { return listener_; }

    /** Normalized change per wheel step. */
    void setWheelInc(float inc) { wheelInc_ = inc; }
    float getWheelInc() const { return wheelInc_; }

    bool isDirty() const override;
    void setDirty(bool state = true) override;

private:
    IControlListener* listener_;
    int32_t tag_;
    float value_ = 0.f;
    float oldValue_ = 1.f;
    float default_ = 0.5f;
    float min_ = 0.f;
    float max_ = 1.f;
    float wheelInc_ = 0.1f;
    int32_t editing_ = 0;
};

}  // namespace VSTGUI
