#pragma once
#include <cairo.h>

#include <vector>

#include "gui/lib/ccolor.h"
#include "gui/lib/crect.h"
#include "gui/lib/utf8string.h"

namespace VSTGUI {

/** Drawing on a cairo context in logical coordinates; the back end has already applied the
    content scale, so lines and text stay sharp at any scale. */
class CDrawContext {
public:
    /** cr stays owned by the caller. */
    explicit CDrawContext(cairo_t* cr);

    cairo_t* getCairo() const { return cr_; }

    void setFillColor(const CColor& c) { state_.fill = c; }
    void setFrameColor(const CColor& c) { state_.frame = c; }
    void setFontColor(const CColor& c) { state_.fontColor = c; }
    void setFont(const CFontDesc* font) { state_.font = font; }
    void setLineWidth(CCoord w) { state_.lineWidth = w; }
    const CColor& getFillColor() const { return state_.fill; }
    const CColor& getFrameColor() const { return state_.frame; }
    const CColor& getFontColor() const { return state_.fontColor; }
    const CFontDesc* getFont() const { return state_.font; }
    CCoord getLineWidth() const { return state_.lineWidth; }

    /** Opacity multiplied into everything drawn. */
    void setGlobalAlpha(float a) { state_.alpha = a; }
    float getGlobalAlpha() const { return state_.alpha; }

    /** Saves colours, font, clip and offset; restoreGlobalState brings them back. */
    void saveGlobalState();
    void restoreGlobalState();

    /** Moves the origin by (dx, dy) until the state is restored. */
    void translate(CCoord dx, CCoord dy);
    /** Narrows the clip to rect (current coordinates). */
    void clipRect(const CRect& rect);

    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
    void drawLine(const CPoint& from, const CPoint& to);
    /** Draws one line of text inside rect, centred vertically, aligned as given. */
    void drawString(const UTF8String& text, const CRect& rect, CHoriTxtAlign align = kCenterText);
    CCoord getStringWidth(const UTF8String& text);

private:
    struct State {
        CColor fill = kWhiteCColor;
        CColor frame = kBlackCColor;
        CColor fontColor = kBlackCColor;
        const CFontDesc* font = nullptr;
        CCoord lineWidth = 1;
        float alpha = 1.f;
    };
    void setSource(const CColor& c);

    cairo_t* cr_;
    State state_;
    std::vector<State> stack_;
};

}  // namespace VSTGUI
