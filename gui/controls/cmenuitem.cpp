#include "gui/controls/cmenuitem.h"

#include "gui/controls/coptionmenu.h"

namespace VSTGUI {

CMenuItem::CMenuItem(const UTF8String& title, const UTF8String&, int32_t, CBitmap*, int32_t flags)
    : title_(title), flags_(flags) {}

CMenuItem::CMenuItem(const UTF8String& title, COptionMenu* submenu, CBitmap*) : title_(title) {
    setSubmenu(submenu);
}

CMenuItem::CMenuItem(const UTF8String& title, int32_t tag) : title_(title), tag_(tag) {}

CMenuItem::~CMenuItem() {
    if (submenu_) submenu_->forget();
}

void CMenuItem::setSubmenu(COptionMenu* submenu) {
    if (submenu == submenu_) return;
    if (submenu) submenu->remember();
    if (submenu_) submenu_->forget();
    submenu_ = submenu;
}

}  // namespace VSTGUI
