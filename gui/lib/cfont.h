#pragma once
#include "gui/lib/cbaseobject.h"
#include "gui/lib/utf8string.h"

namespace VSTGUI {

enum CTxtFace { kNormalFace = 0, kBoldFace = 1 << 1, kItalicFace = 1 << 2, kUnderlineFace = 1 << 3 };

/** A font by family name and size in points (= logical pixels); resolved through fontconfig,
    so "Arial" falls back to a metric-compatible family when it is not installed. */
class CFontDesc : public CBaseObject {
public:
    CFontDesc(const UTF8String& name = "", CCoord size = 0, int32_t style = 0);

    const UTF8String& getName() const { return name_; }
    CCoord getSize() const { return size_; }
    int32_t getStyle() const { return style_; }
    void setName(const UTF8String& name) { name_ = name; }
    void setSize(CCoord size) { size_ = size; }
    void setStyle(int32_t style) { style_ = style; }

    /** Width of text drawn in this font, in logical pixels. */
    CCoord getStringWidth(const UTF8String& text) const;

private:
    UTF8String name_;
    CCoord size_;
    int32_t style_;
};

/** Shared standard fonts; never forget them below their one static reference. */
extern CFontRef kSystemFont;
extern CFontRef kNormalFontVeryBig;
extern CFontRef kNormalFontBig;
extern CFontRef kNormalFont;
extern CFontRef kNormalFontSmall;
extern CFontRef kNormalFontSmaller;
extern CFontRef kNormalFontVerySmall;

}  // namespace VSTGUI
