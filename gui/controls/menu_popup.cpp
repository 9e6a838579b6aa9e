#include "gui/controls/menu_popup.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "gui/controls/coptionmenu.h"
#include "gui/lib/cdrawcontext.h"
#include "gui/lib/cfont.h"
#include "gui/lib/cframe.h"
#include "gui/lib/text_layout.h"

namespace VSTGUI {

namespace {
constexpr CCoord kCheckArea = 20;
constexpr CCoord kArrowArea = 18;
constexpr CCoord kPadding = 3;
// Rows sit 1 px inside the list's frame on each side.
constexpr CCoord kRowInset = 1;
// Room after the widest title, so that it never touches the arrow area.
constexpr CCoord kTextMargin = 4;
const CColor kListBack(245, 245, 245, 255);
const CColor kListFrame(110, 110, 110, 255);
const CColor kText(20, 20, 20, 255);
const CColor kDisabledText(150, 150, 150, 255);
const CColor kHighlight(58, 110, 200, 255);
const CColor kHighlightText(255, 255, 255, 255);

void drawCheck(CDrawContext* context, const CRect& row, const CColor& color) {
    cairo_t* cr = context->getCairo();
    CCoord x = row.left + 6, y = row.top + row.getHeight() / 2;
    cairo_set_source_rgba(cr, color.normRed(), color.normGreen(), color.normBlue(), color.normAlpha());
    cairo_set_line_width(cr, 1.8);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 3, y + 3.5);
    cairo_line_to(cr, x + 9, y - 4);
    cairo_stroke(cr);
}

void drawArrow(CDrawContext* context, const CRect& row, const CColor& color) {
    cairo_t* cr = context->getCairo();
    CCoord x = row.right - 11, y = row.top + row.getHeight() / 2;
    cairo_set_source_rgba(cr, color.normRed(), color.normGreen(), color.normBlue(), color.normAlpha());
    cairo_move_to(cr, x, y - 4);
    cairo_line_to(cr, x + 5, y);
    cairo_line_to(cr, x, y + 4);
    cairo_close_path(cr);
    cairo_fill(cr);
}
}  // namespace

MenuPopup* MenuPopup::create(CFrame* frame, COptionMenu* menu, const CPoint& where) {
    if (!frame || !menu || menu->getNbEntries() == 0) return nullptr;
    MenuPopup* popup = new (std::nothrow) MenuPopup(frame, menu);
    if (!popup) return nullptr;
    if (!popup->openLevel(menu, where, nullptr)) {
        delete popup;
        return nullptr;
    }
    return popup;
}

MenuPopup::MenuPopup(CFrame* frame, COptionMenu* root) : frame_(frame), root_(root) {
    root_->remember();
    root_->setPopupOpen(true);
}

MenuPopup::~MenuPopup() {
    for (Level& l : levels_) l.menu->forget();
    root_->setPopupOpen(false);
    root_->forget();
}

bool MenuPopup::openLevel(COptionMenu* menu, const CPoint& where, const CRect* besideRow) {
    if (menu->getNbEntries() == 0) return false;
    // Measured at the frame's scale: hinted advances are rounded in device pixels, so a title
    // can be wider at scale 2 than at scale 1.
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    const double scale = frame_->getScaleFactor() > 0 ? frame_->getScaleFactor() : 1.0;
    cairo_scale(cr, scale, scale);
    CCoord textWidth = 0;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
        CMenuItem* item = menu->getEntry(i);
        if (item->isSeparator()) continue;
        CFontDesc bold(kNormalFont->getName(), kNormalFont->getSize(), kBoldFace);
        selectFont(cr, item->isTitle() ? &bold : kNormalFont);
        textWidth = std::max(textWidth, textAdvance(cr, item->getTitle().getString()));
    }
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    CCoord width =
        std::max<CCoord>(60, std::ceil(textWidth) + kTextMargin + kCheckArea + kArrowArea + 2 * kRowInset);
    CCoord height = 2 * kPadding;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i)
        height += menu->getEntry(i)->isSeparator() ? kSeparatorHeight : kRowHeight;

    const CRect area = frame_->getViewSize();
    CRect bounds(where.x, where.y, where.x + width, where.y + height);
    if (besideRow) {
        bounds.moveTo(besideRow->right - 2, besideRow->top - kPadding);
        if (bounds.right > area.right) bounds.moveTo(besideRow->left - width + 2, bounds.top);
    }
    if (bounds.right > area.right) bounds.offset(area.right - bounds.right, 0);
    if (bounds.left < area.left) bounds.offset(area.left - bounds.left, 0);
    if (bounds.bottom > area.bottom) bounds.offset(0, area.bottom - bounds.bottom);
    if (bounds.top < area.top) bounds.offset(0, area.top - bounds.top);

    Level level{menu, bounds, {}, -1};
    CCoord y = bounds.top + kPadding;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
        CCoord h = menu->getEntry(i)->isSeparator() ? kSeparatorHeight : kRowHeight;
        level.rows.emplace_back(bounds.left + kRowInset, y, bounds.right - kRowInset, y + h);
        y += h;
    }
    menu->remember();
    levels_.push_back(level);
    frame_->invalidChildRect(bounds);
    return true;
}

void MenuPopup::closeLevelsAbove(size_t level) {
    while (levels_.size() > level + 1) {
        frame_->invalidChildRect(levels_.back().bounds);
        levels_.back().menu->forget();
        levels_.pop_back();
    }
}

std::vector<CRect> MenuPopup::levelBounds() const {
    std::vector<CRect> out;
    for (const Level& l : levels_) out.push_back(l.bounds);
    return out;
}

CRect MenuPopup::entryRect(size_t level, int32_t index) const {
    if (level >= levels_.size() || index < 0 || index >= static_cast<int32_t>(levels_[level].rows.size()))
        return CRect();
    return levels_[level].rows[index];
}

CRect MenuPopup::entryTextRect(size_t level, int32_t index) const {
    CRect row = entryRect(level, index);
    if (row.isEmpty()) return row;
    return CRect(row.left + kCheckArea, row.top, row.right - kArrowArea, row.bottom);
}

CRect MenuPopup::getPopupBounds() const {
    CRect r;
    for (const Level& l : levels_) r.unite(l.bounds);
    return r;
}

void MenuPopup::invalidate() {
    frame_->invalidChildRect(getPopupBounds());
}

bool MenuPopup::hit(const CPoint& where, size_t& level, int32_t& row) const {
    for (size_t l = levels_.size(); l-- > 0;) {
        if (!levels_[l].bounds.pointInside(where)) continue;
        level = l;
        row = -1;
        for (size_t i = 0; i < levels_[l].rows.size(); ++i)
            if (levels_[l].rows[i].pointInside(where)) row = static_cast<int32_t>(i);
        return true;
    }
    return false;
}

bool MenuPopup::selectable(const CMenuItem* item) const {
    return item && !item->isSeparator() && !item->isTitle() && (item->isEnabled() || item->getSubmenu());
}

void MenuPopup::popupMouseDown(const CPoint& where, const CButtonState&) {
    size_t level = 0;
    int32_t row = -1;
    pressedRow_ = -1;
    if (!hit(where, level, row)) {
        dismiss();
        return;
    }
    if (row < 0) return;
    CMenuItem* item = levels_[level].menu->getEntry(row);
    if (!selectable(item)) return;
    levels_[level].highlighted = row;
    if (COptionMenu* sub = item->getSubmenu()) {
        closeLevelsAbove(level);
        openLevel(sub, CPoint(), &levels_[level].rows[row]);
    } else {
        pressedLevel_ = level;
        pressedRow_ = row;
    }
    invalidate();
}

void MenuPopup::popupMouseMoved(const CPoint& where, const CButtonState&) {
    size_t level = 0;
    int32_t row = -1;
    if (!hit(where, level, row) || row < 0) return;
    Level& l = levels_[level];
    CMenuItem* item = l.menu->getEntry(row);
    int32_t highlight = selectable(item) ? row : -1;
    if (highlight == l.highlighted && (highlight < 0 || !item->getSubmenu() || levels_.size() > level + 1))
        return;
    l.highlighted = highlight;
    if (highlight >= 0 && item->getSubmenu()) {
        bool alreadyOpen = levels_.size() > level + 1 && levels_[level + 1].menu == item->getSubmenu();
        if (!alreadyOpen) {
            closeLevelsAbove(level);
            openLevel(item->getSubmenu(), CPoint(), &levels_[level].rows[row]);
        }
    } else {
        closeLevelsAbove(level);
    }
    invalidate();
}

void MenuPopup::popupMouseUp(const CPoint& where, const CButtonState&) {
    if (pressedRow_ < 0) return;
    size_t level = 0;
    int32_t row = -1;
    bool onPressed = hit(where, level, row) && level == pressedLevel_ && row == pressedRow_;
    int32_t pressed = pressedRow_;
    pressedRow_ = -1;
    if (onPressed) choose(level, pressed);
}

void MenuPopup::moveHighlight(int32_t step) {
    Level& l = levels_.back();
    int32_t n = static_cast<int32_t>(l.rows.size());
    int32_t i = l.highlighted;
    for (int32_t tries = 0; tries < n; ++tries) {
        i = (i < 0) ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
        if (selectable(l.menu->getEntry(i))) {
            l.highlighted = i;
            invalidate();
            return;
        }
    }
}

void MenuPopup::popupKeyDown(const VstKeyCode& key) {
    Level& top = levels_.back();
    switch (key.virt) {
        case VKEY_ESCAPE: dismiss(); return;
        case VKEY_DOWN: moveHighlight(1); return;
        case VKEY_UP: moveHighlight(-1); return;
        case VKEY_LEFT:
            if (levels_.size() > 1) {
                closeLevelsAbove(levels_.size() - 2);
                invalidate();
            }
            return;
        case VKEY_RIGHT:
        case VKEY_RETURN:
        case VKEY_ENTER: {
            if (top.highlighted < 0) return;
            CMenuItem* item = top.menu->getEntry(top.highlighted);
            if (COptionMenu* sub = item->getSubmenu()) {
                size_t level = levels_.size() - 1;
                openLevel(sub, CPoint(), &levels_[level].rows[levels_[level].highlighted]);
                moveHighlight(1);
            } else if (key.virt != VKEY_RIGHT && item->isEnabled()) {
                choose(levels_.size() - 1, top.highlighted);
            }
            return;
        }
        default: return;
    }
}

void MenuPopup::dismiss() {
    // Deletes this popup: nothing may touch members afterwards.
    frame_->closeModalPopup();
}

void MenuPopup::choose(size_t level, int32_t row) {
    COptionMenu* menu = levels_[level].menu;
    CMenuItem* item = menu->getEntry(row);
    if (!item || !item->isEnabled() || item->isSeparator() || item->isTitle() || item->getSubmenu()) return;
    COptionMenu* root = root_;
    root->remember();
    menu->remember();
    frame_->closeModalPopup();  // deletes this
    root->onPopupChoice(menu, row);
    menu->forget();
    root->forget();
}

void MenuPopup::drawPopup(CDrawContext* context, const CRect& updateRect) {
    for (size_t level = 0; level < levels_.size(); ++level) {
        const Level& l = levels_[level];
        if (!l.bounds.rectOverlap(updateRect)) continue;
        context->saveGlobalState();
        context->setFillColor(kListBack);
        context->setFrameColor(kListFrame);
        context->setLineWidth(1);
        context->drawRect(l.bounds, kDrawFilledAndStroked);
        bool checkStyle = (l.menu->getStyle() & kCheckStyle) != 0;
        for (size_t i = 0; i < l.rows.size(); ++i) {
            const CRect& row = l.rows[i];
            CMenuItem* item = l.menu->getEntry(static_cast<int32_t>(i));
            if (item->isSeparator()) {
                context->setFrameColor(CColor(190, 190, 190, 255));
                CCoord y = row.top + row.getHeight() / 2 + 0.5;
                context->drawLine(CPoint(row.left + 4, y), CPoint(row.right - 4, y));
                continue;
            }
            bool highlighted = static_cast<int32_t>(i) == l.highlighted;
            if (highlighted) {
                context->setFillColor(kHighlight);
                context->drawRect(row, kDrawFilled);
            }
            bool usable = item->isEnabled() || item->getSubmenu();
            CColor textColor = highlighted ? kHighlightText : (usable ? kText : kDisabledText);
            bool checked =
                item->isChecked() || (checkStyle && static_cast<int32_t>(i) == l.menu->getCurrentIndex(true));
            if (checked) drawCheck(context, row, textColor);
            if (item->getSubmenu()) drawArrow(context, row, textColor);
            CFontDesc bold(kNormalFont->getName(), kNormalFont->getSize(), kBoldFace);
            context->setFont(item->isTitle() ? &bold : kNormalFont);
            context->setFontColor(textColor);
            context->drawString(item->getTitle(), entryTextRect(level, static_cast<int32_t>(i)), kLeftText);
        }
        context->restoreGlobalState();
    }
}

}  // namespace VSTGUI
