#include "gui/lib/text_layout.h"

#include "gui/lib/cfont.h"

namespace VSTGUI {

void selectFont(cairo_t* cr, const CFontDesc* font) {
    const char* family = "Arial";
    CCoord size = 12;
    int32_t style = 0;
    if (font) {
        if (!font->getName().empty()) family = font->getName().data();
        if (font->getSize() > 0) size = font->getSize();
        style = font->getStyle();
    }
    cairo_select_font_face(cr, family,
                           (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

CCoord textAdvance(cairo_t* cr, const std::string& text) {
    if (text.empty()) return 0;
    cairo_text_extents_t ext;
    std::string shown = displayableUtf8(text);
    cairo_text_extents(cr, shown.c_str(), &ext);
    return ext.x_advance;
}

namespace {
// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not valid.
size_t sequenceLength(const std::string& s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return c == 0 ? 0 : 1;
    size_t len = 0;
    uint32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        len = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        cp = c & 0x07;
    } else
        return 0;
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}
}  // namespace

std::string displayableUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t len = sequenceLength(text, i);
        if (len == 0) {
            out.push_back('?');
            ++i;
        } else {
            out.append(text, i, len);
            i += len;
        }
    }
    return out;
}

size_t previousCharBoundary(const std::string& text, size_t index) {
    if (index == 0) return 0;
    size_t i = index - 1;
    // Step back over continuation bytes only when they belong to a valid sequence.
    for (size_t back = 0; back < 3 && i > 0; ++back) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80) break;
        size_t start = i - 1;
        if (sequenceLength(text, start) == index - start) return start;
        i = start;
    }
    size_t len = sequenceLength(text, i);
    return (len != 0 && i + len == index) ? i : index - 1;
}

size_t nextCharBoundary(const std::string& text, size_t index) {
    if (index >= text.size()) return text.size();
    size_t len = sequenceLength(text, index);
    return index + (len == 0 ? 1 : len);
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp <= 0x10FFFF) {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace VSTGUI
