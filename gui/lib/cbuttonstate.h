#pragma once
#include <cstdint>

namespace VSTGUI {

enum CButton : int32_t {
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kButton4 = 1 << 8,
    kButton5 = 1 << 9,
    kDoubleClick = 1 << 10,
    kMouseWheelInverted = 1 << 11
};

/** The modifier that switches sliders and wheels to fine steps. */
constexpr int32_t kZoomModifier = kShift;

/** Mouse buttons and keyboard modifiers held during an event. */
class CButtonState {
public:
    CButtonState(int32_t state = 0) : state_(state) {}

    int32_t getButtonState() const { return state_ & (kLButton | kMButton | kRButton | kButton4 | kButton5); }
    int32_t getModifierState() const { return state_ & (kShift | kControl | kAlt | kApple); }
    bool isLeftButton() const { return (state_ & kLButton) != 0; }
    bool isRightButton() const { return (state_ & kRButton) != 0; }
    bool isDoubleClick() const { return (state_ & kDoubleClick) != 0; }
    int32_t operator()() const { return state_; }
    int32_t operator&(int32_t mask) const { return state_ & mask; }
    CButtonState& operator|=(int32_t mask) {
        state_ |= mask;
        return *this;
    }
    bool operator==(const CButtonState& b) const { return state_ == b.state_; }
    bool operator!=(const CButtonState& b) const { return state_ != b.state_; }

private:
    int32_t state_;
};

}  // namespace VSTGUI
