#include "gui/lib/cdrawcontext.h"

#include "gui/lib/text_layout.h"

namespace VSTGUI {

CDrawContext::CDrawContext(cairo_t* cr) : cr_(cr) {}

void CDrawContext::saveGlobalState() {
    stack_.push_back(state_);
    cairo_save(cr_);
}

void CDrawContext::restoreGlobalState() {
    if (stack_.empty()) return;
    state_ = stack_.back();
    stack_.pop_back();
    cairo_restore(cr_);
}

void CDrawContext::translate(CCoord dx, CCoord dy) {
    cairo_translate(cr_, dx, dy);
}

void CDrawContext::clipRect(const CRect& rect) {
    cairo_rectangle(cr_, rect.left, rect.top, rect.getWidth(), rect.getHeight());
    cairo_clip(cr_);
}

void CDrawContext::setSource(const CColor& c) {
    cairo_set_source_rgba(cr_, c.normRed(), c.normGreen(), c.normBlue(), c.normAlpha() * state_.alpha);
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style) {
    if (style != kDrawStroked && state_.fill.alpha != 0) {
        setSource(state_.fill);
        cairo_rectangle(cr_, rect.left, rect.top, rect.getWidth(), rect.getHeight());
        cairo_fill(cr_);
    }
    if (style != kDrawFilled && state_.frame.alpha != 0 && state_.lineWidth > 0) {
        // Half-pixel inset keeps one-pixel lines crisp and inside the rectangle.
        CCoord h = state_.lineWidth / 2;
        setSource(state_.frame);
        cairo_set_line_width(cr_, state_.lineWidth);
        cairo_rectangle(cr_, rect.left + h, rect.top + h, rect.getWidth() - state_.lineWidth,
                        rect.getHeight() - state_.lineWidth);
        cairo_stroke(cr_);
    }
}

void CDrawContext::drawLine(const CPoint& from, const CPoint& to) {
    setSource(state_.frame);
    cairo_set_line_width(cr_, state_.lineWidth);
    cairo_move_to(cr_, from.x, from.y);
    cairo_line_to(cr_, to.x, to.y);
    cairo_stroke(cr_);
}

void CDrawContext::drawString(const UTF8String& text, const CRect& rect, CHoriTxtAlign align) {
    if (text.empty() || state_.fontColor.alpha == 0) return;
    std::string shown = displayableUtf8(text.getString());
    selectFont(cr_, state_.font);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    cairo_text_extents_t te;
    cairo_text_extents(cr_, shown.c_str(), &te);
    CCoord x = rect.left;
    if (align == kCenterText)
        x = rect.left + (rect.getWidth() - te.x_advance) / 2;
    else if (align == kRightText)
        x = rect.right - te.x_advance;
    CCoord y = rect.top + (rect.getHeight() - (fe.ascent + fe.descent)) / 2 + fe.ascent;
    cairo_save(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, rect.getWidth(), rect.getHeight());
    cairo_clip(cr_);
    setSource(state_.fontColor);
    cairo_move_to(cr_, x, y);
    cairo_show_text(cr_, shown.c_str());
    cairo_restore(cr_);
}

CCoord CDrawContext::getStringWidth(const UTF8String& text) {
    selectFont(cr_, state_.font);
    return textAdvance(cr_, text.getString());
}

}  // namespace VSTGUI
