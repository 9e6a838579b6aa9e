#include "gui/controls/ctextlabel.h"

namespace VSTGUI {

CTextLabel::CTextLabel(const CRect& size, UTF8StringPtr text, CBitmap* background, int32_t style)
    : CParamDisplay(size, background, style), text_(text) {}

void CTextLabel::setText(const UTF8String& text) {
    if (text == text_) return;
    text_ = text;
    invalid();
}

}  // namespace VSTGUI
