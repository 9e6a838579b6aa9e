#pragma once
// Basic types, enums and style bits shared by every view and control.
#include <cstdint>

namespace VSTGUI {

using CCoord = double;
using IdStringPtr = const char*;
using UTF8StringPtr = const char*;

enum CMessageResult { kMessageUnknown = 0, kMessageNotified = 1 };

enum CMouseEventResult {
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
    kMouseMoveEventHandledButDontNeedMoreEvents
};

enum CMouseWheelAxis { kMouseWheelAxisX = 0, kMouseWheelAxisY };

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };

/** Native window kinds a frame can be opened in; kDefaultNative picks the platform's own. */
enum class PlatformType : int32_t {
    kHWND,
    kWindowRef,
    kNSView,
    kUIView,
    kHWNDTopLevel,
    kX11EmbedWindowID,
    kDefaultNative = -1
};

/** Style bits of controls (sliders, text displays and menus). */
enum CControlStyle : int32_t {
    kHorizontal = 1 << 0,
    kVertical = 1 << 1,
    kShadowText = 1 << 2,
    kLeft = 1 << 3,
    kRight = 1 << 4,
    kTop = 1 << 5,
    kBottom = 1 << 6,
    k3DIn = 1 << 7,
    kPopupStyle = 1 << 8,           // plain popup list
    kCheckStyle = 1 << 9,           // the current entry shows a check mark
    kMultipleCheckStyle = 1 << 10,  // every entry shows its own check mark
    kNoTextStyle = 1 << 11,
    kNoDrawStyle = 1 << 12,
    kDoubleClickStyle = 1 << 13,
    kNoFrame = 1 << 14,
    kRoundRectStyle = 1 << 15,
    k3DOut = 1 << 16
};

class CBaseObject;
class CView;
class CViewContainer;
class CFrame;
class CControl;
class CBitmap;
class CFontDesc;
class CDrawContext;
class COptionMenu;
class CMenuItem;
class VSTGUIEditorInterface;
class IControlListener;

using CFontRef = CFontDesc*;

}  // namespace VSTGUI
