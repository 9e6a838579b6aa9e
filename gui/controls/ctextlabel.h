#pragma once
#include "gui/controls/cparamdisplay.h"

namespace VSTGUI {

/** A text display without interaction. */
class CTextLabel : public CParamDisplay {
public:
    CTextLabel(const CRect& size, UTF8StringPtr text = nullptr, CBitmap* background = nullptr,
               int32_t style = 0);

    virtual void setText(const UTF8String& text);
    virtual const UTF8String& getText() const { return text_; }

protected:
    UTF8String displayText() const override { return text_; }

private:
    UTF8String text_;
};

}  // namespace VSTGUI
