#include "gui/controls/coptionmenu.h"

#include <new>

#include "gui/controls/menu_popup.h"
#include "gui/lib/cbitmap.h"
#include "gui/lib/cdrawcontext.h"
#include "gui/lib/cframe.h"

namespace VSTGUI {

COptionMenu::COptionMenu(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                         CBitmap* bgWhenClick, int32_t style)
    : CParamDisplay(size, background, style) {
    setListener(listener);
    setTag(tag);
    if (bgWhenClick) {
        bgWhenClick->remember();
        bgWhenClick_ = bgWhenClick;
    }
    setWheelInc(0);
    updateMax();
}

COptionMenu::~COptionMenu() {
    for (CMenuItem* item : items_) item->forget();
    if (bgWhenClick_) bgWhenClick_->forget();
}

void COptionMenu::updateMax() {
    setMax(items_.empty() ? 0.f : static_cast<float>(items_.size() - 1));
    if (getValue() > getMax()) CControl::setValue(getMax());
}

CMenuItem* COptionMenu::addEntry(CMenuItem* item, int32_t index) {
    if (!item) return nullptr;
    if (index < 0 || index > getNbEntries())
        items_.push_back(item);
    else
        items_.insert(items_.begin() + index, item);
    if (currentIndex_ < 0 && !item->isSeparator()) currentIndex_ = 0;
    updateMax();
    invalid();
    return item;
}

CMenuItem* COptionMenu::addEntry(COptionMenu* submenu, const UTF8String& title) {
    CMenuItem* item = new (std::nothrow) CMenuItem(title, submenu);
    return addEntry(item);
}

CMenuItem* COptionMenu::addEntry(const UTF8String& title, int32_t index, int32_t itemFlags) {
    if (title == "-") return addSeparator(index);
    CMenuItem* item = new (std::nothrow) CMenuItem(title, "", 0, nullptr, itemFlags);
    return addEntry(item, index);
}

CMenuItem* COptionMenu::addSeparator(int32_t index) {
    CMenuItem* item = new (std::nothrow) CMenuItem("", "", 0, nullptr, CMenuItem::kSeparator);
    return addEntry(item, index);
}

bool COptionMenu::removeEntry(int32_t index) {
    if (index < 0 || index >= getNbEntries()) return false;
    items_[index]->forget();
    items_.erase(items_.begin() + index);
    if (currentIndex_ >= getNbEntries()) currentIndex_ = getNbEntries() - 1;
    updateMax();
    invalid();
    return true;
}

bool COptionMenu::removeAllEntry() {
    for (CMenuItem* item : items_) item->forget();
    items_.clear();
    currentIndex_ = -1;
    lastMenu_ = nullptr;
    lastResult_ = -1;
    updateMax();
    invalid();
    return true;
}

CMenuItem* COptionMenu::getEntry(int32_t index) const {
    if (index < 0 || index >= getNbEntries()) return nullptr;
    return items_[index];
}

int32_t COptionMenu::getCurrentIndex(bool countSeparator) const {
    if (countSeparator || currentIndex_ < 0) return currentIndex_;
    int32_t n = 0;
    for (int32_t i = 0; i < currentIndex_ && i < getNbEntries(); ++i)
        if (!items_[i]->isSeparator()) ++n;
    return n;
}

bool COptionMenu::setCurrent(int32_t index, bool countSeparator) {
    if (!countSeparator) {
        int32_t n = -1;
        for (int32_t i = 0; i < getNbEntries(); ++i) {
            if (items_[i]->isSeparator()) continue;
            if (++n == index) {
                index = i;
                break;
            }
        }
        if (n != index) return false;
    }
    if (index < 0 || index >= getNbEntries()) return false;
    setValue(static_cast<float>(index));
    return true;
}

bool COptionMenu::checkEntry(int32_t index, bool state) {
    CMenuItem* item = getEntry(index);
    if (!item || item->isSeparator()) return false;
    item->setChecked(state);
    return true;
}

bool COptionMenu::checkEntryAlone(int32_t index) {
    if (index < 0 || index >= getNbEntries()) return false;
    for (int32_t i = 0; i < getNbEntries(); ++i) items_[i]->setChecked(i == index);
    return true;
}

bool COptionMenu::isCheckEntry(int32_t index) const {
    CMenuItem* item = getEntry(index);
    return item && item->isChecked();
}

COptionMenu* COptionMenu::getLastItemMenu(int32_t& idxInMenu) const {
    idxInMenu = lastMenu_ ? lastResult_ : -1;
    return lastMenu_;
}

void COptionMenu::setValue(float value) {
    if (items_.empty()) {
        CControl::setValue(0.f);
        return;
    }
    // Values come back from normalized arithmetic (index / (n − 1) × (n − 1)): round, don't truncate.
    int32_t index = static_cast<int32_t>(value + 0.5f);
    if (index < 0) index = 0;
    if (index >= getNbEntries()) index = getNbEntries() - 1;
    if (index != currentIndex_) invalid();
    currentIndex_ = index;
    CControl::setValue(static_cast<float>(index));
}

UTF8String COptionMenu::displayText() const {
    CMenuItem* item = getCurrent();
    return item && !item->isSeparator() ? item->getTitle() : UTF8String();
}

void COptionMenu::draw(CDrawContext* context) {
    if (popupOpen_ && bgWhenClick_ && !(getStyle() & kNoDrawStyle)) {
        bgWhenClick_->draw(context, getViewSize());
        context->setFont(getFont());
        context->setFontColor(getFontColor());
        if (!(getStyle() & kNoTextStyle)) context->drawString(displayText(), textRect(), getHoriAlign());
        drawFrame(context);
        setDirty(false);
        return;
    }
    CParamDisplay::draw(context);
}

bool COptionMenu::popup(CFrame* frame, const CPoint& frameLocation) {
    if (!frame || items_.empty()) return false;
    frame->closeModalPopup();
    MenuPopup* list = MenuPopup::create(frame, this, frameLocation);
    if (!list) return false;
    return frame->setModalPopup(list);
}

bool COptionMenu::popup() {
    CFrame* frame = getFrame();
    if (!frame) return false;
    CPoint where = getViewSize().getBottomLeft();
    localToFrame(where);
    return popup(frame, where);
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton() && !buttons.isRightButton()) return kMouseEventNotHandled;
    popup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COptionMenu::onWheel(const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&) {
    return false;
}

void COptionMenu::setPopupOpen(bool state) {
    popupOpen_ = state;
    invalid();
}

void COptionMenu::onPopupChoice(COptionMenu* menu, int32_t index) {
    remember();
    lastMenu_ = menu;
    lastResult_ = index;
    beginEdit();
    if (menu) {
        menu->remember();
        menu->setValue(static_cast<float>(index));
        menu->forget();
    }
    valueChanged();
    endEdit();
    forget();
}

}  // namespace VSTGUI
