#pragma once
#include <cairo.h>

#include <string>

#include "gui/lib/cbaseobject.h"
#include "gui/lib/crect.h"

namespace VSTGUI {

/** Names a bitmap resource: a PNG file in the resource folder. */
class CResourceDescription {
public:
    CResourceDescription(const char* name) : name_(name ? name : "") {}
    CResourceDescription(const std::string& name) : name_(name) {}
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

/** A PNG image. A missing or unreadable file gives an empty bitmap (width 0) that draws nothing.
    Multi-frame bitmaps stack their frames vertically. */
class CBitmap : public CBaseObject {
public:
    explicit CBitmap(const CResourceDescription& desc);
    /** Loads the PNG at an absolute path. */
    static CBitmap* fromFile(const std::string& path);
    ~CBitmap() override;

    CCoord getWidth() const;
    CCoord getHeight() const;
    bool isLoaded() const { return surface_ != nullptr; }
    const CResourceDescription& getResourceDescription() const { return desc_; }

    /** Draws the part of the bitmap starting at offset into rect, with the given opacity. */
    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
                      float alpha = 1.f);

    cairo_surface_t* getSurface() const { return surface_; }

private:
    CBitmap(const CResourceDescription& desc, const std::string& path);
    void load(const std::string& path);

    CResourceDescription desc_;
    cairo_surface_t* surface_ = nullptr;
};

}  // namespace VSTGUI
