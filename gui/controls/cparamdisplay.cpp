#include "gui/controls/cparamdisplay.h"

#include <cstdio>

#include "gui/lib/cbitmap.h"
#include "gui/lib/cdrawcontext.h"
#include "gui/lib/cfont.h"

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, 0, background), font_(kNormalFont), style_(style) {
    font_->remember();
}

CParamDisplay::~CParamDisplay() {
    if (font_) font_->forget();
}

void CParamDisplay::setFont(CFontRef font) {
    if (!font || font == font_) return;
    font->remember();
    if (font_) font_->forget();
    font_ = font;
    invalid();
}

void CParamDisplay::setFontColor(const CColor& c) {
    fontColor_ = c;
    invalid();
}
void CParamDisplay::setBackColor(const CColor& c) {
    backColor_ = c;
    invalid();
}
void CParamDisplay::setFrameColor(const CColor& c) {
    frameColor_ = c;
    invalid();
}
void CParamDisplay::setHoriAlign(CHoriTxtAlign align) {
    horiAlign_ = align;
    invalid();
}
void CParamDisplay::setStyle(int32_t style) {
    style_ = style;
    invalid();
}

UTF8String CParamDisplay::displayText() const {
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%2.2f", static_cast<double>(getValue()));
    return UTF8String(buffer);
}

CRect CParamDisplay::textRect() const {
    CRect r(getViewSize());
    r.inset(textInset_.x, textInset_.y);
    r.right -= textRightRoom_;
    return r;
}

void CParamDisplay::drawBack(CDrawContext* context) {
    if (CBitmap* bg = getBackground()) {
        bg->draw(context, getViewSize());
    } else if (backColor_.alpha != 0) {
        context->setFillColor(backColor_);
        context->drawRect(getViewSize(), kDrawFilled);
    }
}

void CParamDisplay::drawFrame(CDrawContext* context) {
    if ((style_ & kNoFrame) || frameColor_.alpha == 0) return;
    context->setFrameColor(frameColor_);
    context->setLineWidth(1);
    context->drawRect(getViewSize(), kDrawStroked);
}

void CParamDisplay::draw(CDrawContext* context) {
    if (style_ & kNoDrawStyle) {
        setDirty(false);
        return;
    }
    drawBack(context);
    if (!(style_ & kNoTextStyle)) {
        context->setFont(font_);
        context->setFontColor(fontColor_);
        context->drawString(displayText(), textRect(), horiAlign_);
    }
    drawFrame(context);
    setDirty(false);
}

}  // namespace VSTGUI
