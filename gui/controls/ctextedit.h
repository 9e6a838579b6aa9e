#pragma once
#include <string>

#include "gui/controls/ctextlabel.h"

namespace VSTGUI {

/** A one-line text field. A click gives it the keyboard focus with all its text selected;
    Return commits (the listener's valueChanged) and leaves the focus, Escape restores the text
    from before the edit and leaves the focus, and losing the focus otherwise commits a change. */
class CTextEdit : public CTextLabel {
public:
    CTextEdit(const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr text = nullptr,
              CBitmap* background = nullptr, int32_t style = 0);

    /** Sets the shown text; while the field is being edited the edit keeps going on its own copy. */
    void setText(const UTF8String& text) override;

    /** True while the field holds the keyboard focus and takes typing. */
    bool isBeingEdited() const { return editing_; }
    /** The text as typed so far (the committed text when not editing). */
    const std::string& getEditText() const { return editing_ ? editText_ : getText().getString(); }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    void takeFocus() override;
    void looseFocus() override;

private:
    void insert(const std::string& bytes);
    void eraseSelection();
    bool hasSelection() const { return anchor_ != cursor_; }
    size_t indexAt(CCoord x) const;
    CCoord scrollOffset(CCoord cursorX, CCoord textWidth) const;
    void leaveFocus();

    std::string editText_;
    std::string textBefore_;
    size_t cursor_ = 0;
    size_t anchor_ = 0;
    bool editing_ = false;
    bool returnPressed_ = false;
};

}  // namespace VSTGUI
