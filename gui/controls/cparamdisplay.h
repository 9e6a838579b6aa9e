#pragma once
#include "gui/controls/ccontrol.h"
#include "gui/lib/ccolor.h"
#include "gui/lib/utf8string.h"

namespace VSTGUI {

/** A control shown as one line of text on a background with a frame: the base of labels,
    text fields and option menus. */
class CParamDisplay : public CControl {
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
    ~CParamDisplay() override;

    /** The display takes its own reference to font. */
    virtual void setFont(CFontRef font);
    CFontRef getFont() const { return font_; }
    virtual void setFontColor(const CColor& c);
    const CColor& getFontColor() const { return fontColor_; }
    virtual void setBackColor(const CColor& c);
    const CColor& getBackColor() const { return backColor_; }
    virtual void setFrameColor(const CColor& c);
    const CColor& getFrameColor() const { return frameColor_; }
    virtual void setHoriAlign(CHoriTxtAlign align);
    CHoriTxtAlign getHoriAlign() const { return horiAlign_; }
    void setTextInset(const CPoint& inset) {
        textInset_ = inset;
        invalid();
    }
    const CPoint& getTextInset() const { return textInset_; }
    /** Room at the right edge kept free of text beyond the text inset (for a drop-down arrow a
        background draws there, say); the text is aligned within what is left. */
    void setTextRightRoom(CCoord room) {
        textRightRoom_ = room;
        invalid();
    }
    CCoord getTextRightRoom() const { return textRightRoom_; }
    virtual void setStyle(int32_t style);
    int32_t getStyle() const { return style_; }

    void draw(CDrawContext* context) override;
    /** Text area: the view inset by the text inset; the text is clipped to it. */
    CRect textRect() const;

protected:
    /** The text drawn for the current state. */
    virtual UTF8String displayText() const;
    void drawBack(CDrawContext* context);
    void drawFrame(CDrawContext* context);

private:
    CFontRef font_;
    CColor fontColor_ = kWhiteCColor;
    CColor backColor_ = kBlackCColor;
    CColor frameColor_ = kBlackCColor;
    CHoriTxtAlign horiAlign_ = kCenterText;
    CPoint textInset_ = CPoint(2, 0);
    CCoord textRightRoom_ = 0;
    int32_t style_;
};

}  // namespace VSTGUI
