#include "gui/controls/ctextedit.h"

#include <algorithm>

#include "gui/lib/cdrawcontext.h"
#include "gui/lib/cfont.h"
#include "gui/lib/cframe.h"
#include "gui/lib/text_layout.h"

namespace VSTGUI {

CTextEdit::CTextEdit(const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr text,
                     CBitmap* background, int32_t style)
    : CTextLabel(size, text, background, style) {
    setListener(listener);
    setTag(tag);
}

void CTextEdit::setText(const UTF8String& text) {
    CTextLabel::setText(text);
}

void CTextEdit::takeFocus() {
    editing_ = true;
    returnPressed_ = false;
    textBefore_ = getText().getString();
    editText_ = textBefore_;
    anchor_ = 0;
    cursor_ = editText_.size();
    invalid();
}

void CTextEdit::looseFocus() {
    if (!editing_) return;
    editing_ = false;
    bool changed = editText_ != getText().getString();
    bool commit = returnPressed_ || changed;
    returnPressed_ = false;
    invalid();
    if (!commit) return;
    remember();
    CTextLabel::setText(UTF8String(editText_));
    beginEdit();
    valueChanged();
    endEdit();
    forget();
}

void CTextEdit::leaveFocus() {
    if (CFrame* frame = getFrame(); frame && frame->getFocusView() == this)
        frame->setFocusView(nullptr);
    else
        looseFocus();
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    CFrame* frame = getFrame();
    if (!editing_) {
        if (frame)
            frame->setFocusView(this);
        else
            takeFocus();
    } else {
        cursor_ = anchor_ = indexAt(where.x);
        invalid();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::eraseSelection() {
    size_t a = std::min(anchor_, cursor_), b = std::max(anchor_, cursor_);
    editText_.erase(a, b - a);
    cursor_ = anchor_ = a;
}

void CTextEdit::insert(const std::string& bytes) {
    eraseSelection();
    editText_.insert(cursor_, bytes);
    cursor_ += bytes.size();
    anchor_ = cursor_;
}

int32_t CTextEdit::onKeyDown(VstKeyCode& key) {
    if (!editing_) return -1;
    bool shift = (key.modifier & MODIFIER_SHIFT) != 0;
    switch (key.virt) {
        case VKEY_RETURN:
        case VKEY_ENTER:
            returnPressed_ = true;
            leaveFocus();
            return 1;
        case VKEY_ESCAPE:
            editText_ = textBefore_;
            returnPressed_ = false;
            leaveFocus();
            return 1;
        case VKEY_BACK:
            if (!hasSelection()) anchor_ = previousCharBoundary(editText_, cursor_);
            eraseSelection();
            break;
        case VKEY_DELETE:
            if (!hasSelection()) anchor_ = nextCharBoundary(editText_, cursor_);
            eraseSelection();
            break;
        case VKEY_LEFT:
            if (hasSelection() && !shift)
                cursor_ = std::min(anchor_, cursor_);
            else
                cursor_ = previousCharBoundary(editText_, cursor_);
            if (!shift) anchor_ = cursor_;
            break;
        case VKEY_RIGHT:
            if (hasSelection() && !shift)
                cursor_ = std::max(anchor_, cursor_);
            else
                cursor_ = nextCharBoundary(editText_, cursor_);
            if (!shift) anchor_ = cursor_;
            break;
        case VKEY_HOME:
        case VKEY_UP:
            cursor_ = 0;
            if (!shift) anchor_ = cursor_;
            break;
        case VKEY_END:
        case VKEY_DOWN:
            cursor_ = editText_.size();
            if (!shift) anchor_ = cursor_;
            break;
        case VKEY_SPACE: insert(" "); break;
        case 0: {
            if (key.character <= 0) return -1;
            if ((key.modifier & (MODIFIER_CONTROL | MODIFIER_COMMAND)) && key.character < 0x80) {
                if (key.character == 'a' || key.character == 'A') {
                    anchor_ = 0;
                    cursor_ = editText_.size();
                    break;
                }
                return -1;
            }
            std::string bytes;
            appendUtf8(bytes, static_cast<uint32_t>(key.character));
            insert(bytes);
            break;
        }
        default: return -1;
    }
    invalid();
    return 1;
}

size_t CTextEdit::indexAt(CCoord x) const {
    const CRect r = textRect();
    CFontRef font = getFont();
    CCoord total = font->getStringWidth(UTF8String(editText_));
    CCoord caretX = font->getStringWidth(UTF8String(editText_.substr(0, cursor_)));
    CCoord origin = r.left - scrollOffset(caretX, total);
    size_t best = 0;
    CCoord bestDist = 1e9;
    for (size_t i = 0;; i = nextCharBoundary(editText_, i)) {
        CCoord px = origin + font->getStringWidth(UTF8String(editText_.substr(0, i)));
        CCoord d = px > x ? px - x : x - px;
        if (d < bestDist) {
            bestDist = d;
            best = i;
        }
        if (i >= editText_.size()) break;
    }
    return best;
}

CCoord CTextEdit::scrollOffset(CCoord cursorX, CCoord textWidth) const {
    CCoord room = textRect().getWidth() - 2;
    if (textWidth <= room || cursorX <= room) return 0;
    return cursorX - room;
}

void CTextEdit::draw(CDrawContext* context) {
    if (!editing_) {
        CTextLabel::draw(context);
        return;
    }
    drawBack(context);
    const CRect r = textRect();
    context->setFont(getFont());
    std::string shownAll = editText_;
    CCoord total = context->getStringWidth(UTF8String(shownAll));
    CCoord caretX = context->getStringWidth(UTF8String(editText_.substr(0, cursor_)));
    CCoord originX = r.left - scrollOffset(caretX, total);
    context->saveGlobalState();
    context->clipRect(getViewSize());
    if (hasSelection()) {
        size_t a = std::min(anchor_, cursor_), b = std::max(anchor_, cursor_);
        CCoord xa = originX + context->getStringWidth(UTF8String(editText_.substr(0, a)));
        CCoord xb = originX + context->getStringWidth(UTF8String(editText_.substr(0, b)));
        CColor sel(getFontColor().red, getFontColor().green, getFontColor().blue, 80);
        context->setFillColor(sel);
        context->drawRect(CRect(xa, r.top + 3, xb, r.bottom - 3), kDrawFilled);
    }
    context->setFontColor(getFontColor());
    context->drawString(UTF8String(shownAll), CRect(originX, r.top, originX + total + 4, r.bottom),
                        kLeftText);
    CColor caret = getFontColor();
    context->setFrameColor(caret);
    context->setLineWidth(1);
    CCoord cx = originX + caretX + 0.5;
    context->drawLine(CPoint(cx, r.top + 3), CPoint(cx, r.bottom - 3));
    context->restoreGlobalState();
    drawFrame(context);
    setDirty(false);
}

}  // namespace VSTGUI
