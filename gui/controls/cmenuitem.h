#pragma once
#include "gui/lib/cbaseobject.h"
#include "gui/lib/utf8string.h"

namespace VSTGUI {

/** One entry of an option menu: a title with flags, a tag and maybe a submenu. */
class CMenuItem : public CBaseObject {
public:
    enum Flags { kNoFlags = 0, kDisabled = 1 << 0, kChecked = 1 << 1, kTitle = 1 << 2, kSeparator = 1 << 3 };

    CMenuItem(const UTF8String& title, const UTF8String& keycode = "", int32_t keyModifiers = 0,
              CBitmap* icon = nullptr, int32_t flags = kNoFlags);
    /** The item takes its own reference to submenu. */
    CMenuItem(const UTF8String& title, COptionMenu* submenu, CBitmap* icon = nullptr);
    CMenuItem(const UTF8String& title, int32_t tag);
    ~CMenuItem() override;

    void setTitle(const UTF8String& title) { title_ = title; }
    const UTF8String& getTitle() const { return title_; }
    void setSubmenu(COptionMenu* submenu);
    COptionMenu* getSubmenu() const { return submenu_; }
    void setTag(int32_t tag) { tag_ = tag; }
    int32_t getTag() const { return tag_; }
    int32_t getFlags() const { return flags_; }

    void setChecked(bool state = true) { setFlag(kChecked, state); }
    void setEnabled(bool state = true) { setFlag(kDisabled, !state); }
    void setIsTitle(bool state = true) { setFlag(kTitle, state); }
    void setIsSeparator(bool state = true) { setFlag(kSeparator, state); }
    bool isChecked() const { return (flags_ & kChecked) != 0; }
    bool isEnabled() const { return (flags_ & kDisabled) == 0; }
    bool isTitle() const { return (flags_ & kTitle) != 0; }
    bool isSeparator() const { return (flags_ & kSeparator) != 0; }

private:
    void setFlag(int32_t flag, bool state) { flags_ = state ? (flags_ | flag) : (flags_ & ~flag); }

    UTF8String title_;
    COptionMenu* submenu_ = nullptr;
    int32_t tag_ = -1;
    int32_t flags_ = kNoFlags;
};

}  // namespace VSTGUI
