#pragma once
#include <vector>

#include "gui/lib/crect.h"
#include "gui/lib/imodalpopup.h"

namespace VSTGUI {

/** The open list of an option menu, with its open submenus, drawn by the frame above all views.
    Hovering or clicking an entry with a submenu opens it (even when the entry is disabled); a
    press and release on another enabled entry chooses it. */
class MenuPopup : public IModalPopup {
public:
    static MenuPopup* create(CFrame* frame, COptionMenu* menu, const CPoint& where);
    ~MenuPopup() override;

    void drawPopup(CDrawContext* context, const CRect& updateRect) override;
    CRect getPopupBounds() const override;
    void popupMouseDown(const CPoint& where, const CButtonState& buttons) override;
    void popupMouseMoved(const CPoint& where, const CButtonState& buttons) override;
    void popupMouseUp(const CPoint& where, const CButtonState& buttons) override;
    void popupKeyDown(const VstKeyCode& key) override;

    /** Frame rectangles of the open lists, outermost first (for tests and hit checks). */
    std::vector<CRect> levelBounds() const;
    /** Frame rectangle of entry index in open list level, or an empty rectangle. */
    CRect entryRect(size_t level, int32_t index) const;
    /** Where the title of that entry is drawn (and clipped): the row less its check and arrow areas. */
    CRect entryTextRect(size_t level, int32_t index) const;

    static constexpr CCoord kRowHeight = 18;
    static constexpr CCoord kSeparatorHeight = 7;

private:
    struct Level {
        COptionMenu* menu;
        CRect bounds;
        std::vector<CRect> rows;
        int32_t highlighted = -1;
    };
    MenuPopup(CFrame* frame, COptionMenu* root);
    bool openLevel(COptionMenu* menu, const CPoint& where, const CRect* besideRow);
    void closeLevelsAbove(size_t level);
    bool hit(const CPoint& where, size_t& level, int32_t& row) const;
    bool selectable(const CMenuItem* item) const;
    void choose(size_t level, int32_t row);
    void dismiss();
    void invalidate();
    void moveHighlight(int32_t step);

    CFrame* frame_;
    COptionMenu* root_;
    std::vector<Level> levels_;
    size_t pressedLevel_ = 0;
    int32_t pressedRow_ = -1;
};

}  // namespace VSTGUI
