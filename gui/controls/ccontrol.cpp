#include "gui/controls/ccontrol.h"

#include "gui/lib/cframe.h"

namespace VSTGUI {

CControl::CControl(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag) {
    if (background) setBackground(background);
}

void CControl::setValue(float value) {
    if (value < min_) value = min_;
    if (value > max_) value = max_;
    if (value != value_) {
        value_ = value;
        invalid();
    }
}

void CControl::setValueNormalized(float value) {
    if (value < 0.f) value = 0.f;
    if (value > 1.f) value = 1.f;
    setValue(min_ + value * getRange());
}

float CControl::getValueNormalized() const {
    float range = getRange();
    if (range == 0.f) return 0.f;
    return (value_ - min_) / range;
}

void CControl::bounceValue() {
    if (value_ > max_) value_ = max_;
    if (value_ < min_) value_ = min_;
}

void CControl::valueChanged() {
    if (listener_) listener_->valueChanged(this);
}

void CControl::beginEdit() {
    ++editing_;
    if (listener_) listener_->controlBeginEdit(this);
    if (CFrame* frame = getFrame()) frame->beginEdit(tag_);
}

void CControl::endEdit() {
    if (editing_ > 0) --editing_;
    if (CFrame* frame = getFrame()) frame->endEdit(tag_);
    if (listener_) listener_->controlEndEdit(this);
}

void CControl::setTag(int32_t tag) {
    if (listener_) listener_->controlTagWillChange(this);
    tag_ = tag;
    if (listener_) listener_->controlTagDidChange(this);
}

bool CControl::isDirty() const {
    return oldValue_ != value_ || CView::isDirty();
}

void CControl::setDirty(bool state) {
    // A dirty control reports a changed value until it is drawn or cleared.
    oldValue_ = state ? value_ + 1.f : value_;
    CView::setDirty(state);
}

}  // namespace VSTGUI
