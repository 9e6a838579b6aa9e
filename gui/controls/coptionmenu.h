#pragma once
#include <vector>

#include "gui/controls/cmenuitem.h"
#include "gui/controls/cparamdisplay.h"

namespace VSTGUI {

/** A menu of entries, shown as a field with the current entry's title; a click (or popup())
    opens the list above all views. Choosing an entry sets the value of the (sub)menu it is in
    to its index, records that menu and index (getLastItemMenu) and tells the listener of the
    menu that was opened, once. Escape or a click outside closes the list without a change.
    The value is the current index; max is the entry count − 1 (separators count). */
class COptionMenu : public CParamDisplay {
public:
    COptionMenu(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr,
                CBitmap* bgWhenClick = nullptr, int32_t style = 0);
    ~COptionMenu() override;

    /** Adds item at index (−1: at the end), taking over the caller's reference. */
    CMenuItem* addEntry(CMenuItem* item, int32_t index = -1);
    /** Adds an entry opening submenu; the entry takes its own reference to submenu. */
    CMenuItem* addEntry(COptionMenu* submenu, const UTF8String& title);
    /** Adds a titled entry; the title "-" makes a separator. */
    CMenuItem* addEntry(const UTF8String& title, int32_t index = -1, int32_t itemFlags = CMenuItem::kNoFlags);
    CMenuItem* addSeparator(int32_t index = -1);
    bool removeEntry(int32_t index);
    bool removeAllEntry();

    int32_t getNbEntries() const { return static_cast<int32_t>(items_.size()); }
    CMenuItem* getEntry(int32_t index) const;
    CMenuItem* getCurrent() const { return getEntry(currentIndex_); }
    /** The current entry's index, counting separators or not. */
    int32_t getCurrentIndex(bool countSeparator = false) const;
    bool setCurrent(int32_t index, bool countSeparator = true);

    bool checkEntry(int32_t index, bool state);
    /** Checks index and unchecks every other entry. */
    bool checkEntryAlone(int32_t index);
    bool isCheckEntry(int32_t index) const;

    /** The (sub)menu and index of the last choice made through this menu's popup. */
    COptionMenu* getLastItemMenu(int32_t& idxInMenu) const;
    int32_t getLastResult() const { return lastResult_; }

    /** Opens the list at a frame point; false without a frame or entries. */
    bool popup(CFrame* frame, const CPoint& frameLocation);
    /** Opens the list below this control. */
    bool popup();
    bool isPopupOpen() const { return popupOpen_; }

    void setValue(float value) override;
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;

    // Called by the popup list.
    void onPopupChoice(COptionMenu* menu, int32_t index);
    void setPopupOpen(bool state);

protected:
    UTF8String displayText() const override;

private:
    void updateMax();

    std::vector<CMenuItem*> items_;
    CBitmap* bgWhenClick_ = nullptr;
    COptionMenu* lastMenu_ = nullptr;
    int32_t lastResult_ = -1;
    int32_t currentIndex_ = -1;
    bool popupOpen_ = false;
};

}  // namespace VSTGUI
