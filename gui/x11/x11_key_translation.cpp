#include "gui/x11/x11_key_translation.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "gui/lib/cbuttonstate.h"

namespace VSTGUI::X11 {

namespace {
unsigned char virtualKeyFor(KeySym sym) {
    switch (sym) {
        case XK_BackSpace: return VKEY_BACK;
        case XK_Tab:
        case XK_ISO_Left_Tab: return VKEY_TAB;
        case XK_Return: return VKEY_RETURN;
        case XK_KP_Enter: return VKEY_ENTER;
        case XK_Escape: return VKEY_ESCAPE;
        case XK_Delete:
        case XK_KP_Delete: return VKEY_DELETE;
        case XK_Home:
        case XK_KP_Home: return VKEY_HOME;
        case XK_End:
        case XK_KP_End: return VKEY_END;
        case XK_Left:
        case XK_KP_Left: return VKEY_LEFT;
        case XK_Right:
        case XK_KP_Right: return VKEY_RIGHT;
        case XK_Up:
        case XK_KP_Up: return VKEY_UP;
        case XK_Down:
        case XK_KP_Down: return VKEY_DOWN;
        case XK_Page_Up: return VKEY_PAGEUP;
        case XK_Page_Down: return VKEY_PAGEDOWN;
        case XK_Insert: return VKEY_INSERT;
        default: return 0;
    }
}
}  // namespace

int32_t buttonStateFromX(unsigned int state) {
    int32_t b = 0;
    if (state & Button1Mask) b |= kLButton;
    if (state & Button2Mask) b |= kMButton;
    if (state & Button3Mask) b |= kRButton;
    if (state & ShiftMask) b |= kShift;
    if (state & ControlMask) b |= kControl;
    if (state & Mod1Mask) b |= kAlt;
    return b;
}

bool translateKeyEvent(XKeyEvent& event, VstKeyCode& key) {
    char buffer[16] = {};
    KeySym sym = NoSymbol;
    int n = XLookupString(&event, buffer, sizeof(buffer) - 1, &sym, nullptr);
    key = VstKeyCode();
    if (event.state & ShiftMask) key.modifier |= MODIFIER_SHIFT;
    if (event.state & ControlMask) key.modifier |= MODIFIER_CONTROL;
    if (event.state & Mod1Mask) key.modifier |= MODIFIER_ALTERNATE;
    key.virt = virtualKeyFor(sym);
    if (key.virt) return true;
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) {
        key.character = static_cast<int32_t>(sym);
        if (n == 1 && static_cast<unsigned char>(buffer[0]) >= 0x20)
            key.character = static_cast<unsigned char>(buffer[0]);
        return true;
    }
    if ((sym & 0xFF000000UL) == 0x01000000UL) {
        key.character = static_cast<int32_t>(sym & 0x00FFFFFFUL);
        return true;
    }
    if (n == 1 && static_cast<unsigned char>(buffer[0]) >= 0x20) {
        key.character = static_cast<unsigned char>(buffer[0]);
        return true;
    }
    return false;
}

}  // namespace VSTGUI::X11
