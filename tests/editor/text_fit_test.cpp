// Every text the editor draws fits the box it is drawn (and clipped) in, at content scales 1,
// 1.5 and 2: the labels, text fields and choice fields of every page and of the about overlay,
// with the text they show after the handshake and the widest text their values can give, and
// every row of every list the menu buttons and choice fields open. Widths are measured on the
// window's own surface at its scale, as the drawing measures them: hinted advances are
// rounded in device pixels, so a text that fits at one scale can be cut at another.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "gui/lib/cfont.h"
#include "gui/lib/text_layout.h"
#include "tests/editor/editor_rig.h"
#include "tools/corvane-make-art/page_layouts.h"

namespace velt::corvane::editortest {
namespace {

// The widest texts a field's values can give, beyond what it shows by default (digits are
// all as wide as each other, so the most digits and the sign make the widest).
const std::map<int32_t, std::vector<std::string>> kWidest = {
    {0x20000001, {"-96.000000", "-46.020600", "inf"}},  // typed floor, the slider's lowest step
    {0x20000002, {"400.000000", "480.000000"}},
    {0x20000105, {"-8192", "8191"}},
    {0x20000108, {"-64", "63"}},
    {0x20001006, {"16383"}},
    {0x20001008, {"16383"}},
    {0x20002006, {"16383"}},
    // Names of 16 characters, in small letters and in wide capitals.
    {0x10001002, {"A very long tone", "WIDE BRASS MKII2"}},
    {0x10002002, {"A very long tone", "WIDE BRASS MKII2"}},
    // Hertz of the WAV formats in use (up to 384 kHz), frame counts up to 32 bits.
    {0x10003004, {"384000.000000"}},
    {0x10003005, {"384000.000000"}},
    {0x10003007, {"4294967295"}},
    {0x10003008, {"4294967295"}},
    {0x10003009, {"4294967295"}},
    {0x1000300A, {"4294967295"}},
};

struct Counts {
    int controls = 0;
    int menuRows = 0;
    int texts = 0;
};

class FitChecker {
public:
    FitChecker(EditorRig& rig, double scale) : rig_(rig), scale_(scale) {
        // A context on the window's surface, scaled as the window scales its drawing.
        cr_ = cairo_create(rig.window->surface());
        cairo_scale(cr_, scale, scale);
    }
    ~FitChecker() { cairo_destroy(cr_); }

    /// Width the text's ink and advance take from the left edge of where it is drawn.
    double need(const CFontDesc* font, const std::string& text) {
        selectFont(cr_, font);
        const std::string shown = displayableUtf8(text);
        cairo_text_extents_t e;
        cairo_text_extents(cr_, shown.c_str(), &e);
        const double left = e.x_bearing < 0 ? e.x_bearing : 0;
        const double right = e.x_bearing + e.width > e.x_advance ? e.x_bearing + e.width : e.x_advance;
        return right - left;
    }
    double lineHeight(const CFontDesc* font) {
        selectFont(cr_, font);
        cairo_font_extents_t fe;
        cairo_font_extents(cr_, &fe);
        return fe.ascent + fe.descent;
    }

    void fits(const std::string& where, const CFontDesc* font, const std::string& text, const CRect& box) {
        ++counts.texts;
        const double w = need(font, text);
        EXPECT_LE(w, box.getWidth()) << "scale " << scale_ << ", " << where << " \"" << text << "\": needs "
                                     << w << " px, has " << box.getWidth();
        EXPECT_LE(lineHeight(font), box.getHeight()) << "scale " << scale_ << ", " << where;
    }

    /// Checks every text control below container, and that no two controls of one container overlap.
    void walk(const std::string& page, CViewContainer* container) {
        std::vector<CControl*> siblings;
        for (uint32_t i = 0; i < container->getNbViews(); ++i) {
            CView* view = container->getView(i);
            if (auto* inner = dynamic_cast<CViewContainer*>(view)) {
                walk(page, inner);
                continue;
            }
            auto* control = dynamic_cast<CControl*>(view);
            if (!control) continue;
            for (CControl* other : siblings)
                EXPECT_FALSE(control->getViewSize().rectOverlap(other->getViewSize()))
                    << page << ": " << name(control) << " overlaps " << name(other);
            siblings.push_back(control);
            if (auto* display = dynamic_cast<CParamDisplay*>(control)) check(page, display);
        }
    }

    /// Opens the list of a menu button or choice field with a click, checks its rows and those
    /// of every submenu it opens, and closes it.
    void openAndCheck(const std::string& page, int32_t tag) {
        rig_.window->click(rig_.centreOf(tag));
        MenuPopup* popup = rig_.popup();
        COptionMenu* menu = openMenu();
        ASSERT_TRUE(popup && menu) << page << " " << hex(tag);
        const std::string where = page + " " + hex(tag);
        checkLevel(where, 0, menu);
        for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
            CMenuItem* item = menu->getEntry(i);
            if (!item->getSubmenu()) continue;
            rig_.window->mouseMoved(popup->entryRect(0, i).getCenter(), 0);
            ASSERT_EQ(popup->levelBounds().size(), 2u) << where << " " << item->getTitle().getString();
            checkLevel(where + " > " + item->getTitle().getString(), 1, item->getSubmenu());
        }
        rig_.window->virtualKey(VKEY_ESCAPE);
        EXPECT_EQ(rig_.popup(), nullptr);
    }

    Counts counts;

private:
    static std::string hex(int32_t tag) {
        char buffer[16];
        std::snprintf(buffer, sizeof(buffer), "0x%08X", static_cast<unsigned>(tag));
        return buffer;
    }
    static std::string name(CControl* c) {
        const CRect& r = c->getViewSize();
        char buffer[80];
        std::snprintf(buffer, sizeof(buffer), "(%g, %g, %g, %g)", r.left, r.top, r.right, r.bottom);
        return (c->getTag() ? "tag " + hex(c->getTag()) + " " : std::string("label ")) + buffer;
    }

    void check(const std::string& page, CParamDisplay* display) {
        ++counts.controls;
        const std::string where = page + " " + name(display);
        const CRect box = display->textRect();
        if (auto* menu = dynamic_cast<COptionMenu*>(display)) {
            // A choice field shows whichever entry is chosen.
            for (int32_t i = 0; i < menu->getNbEntries(); ++i)
                if (!menu->getEntry(i)->isSeparator())
                    fits(where, display->getFont(), menu->getEntry(i)->getTitle().getString(), box);
            return;
        }
        auto* label = dynamic_cast<CTextLabel*>(display);
        ASSERT_NE(label, nullptr) << where;
        fits(where, display->getFont(), label->getText().getString(), box);
        for (const std::string& text : widest(label)) fits(where, display->getFont(), text, box);
    }

    std::vector<std::string> widest(CTextLabel* label) const {
        if (auto it = kWidest.find(label->getTag()); it != kWidest.end()) return it->second;
        // The other mirror fields show 0 to 127 or less.
        if (label->getTag() & 0x20000000) return {"127"};
        // SAMPLE FRAMES, CHANNEL COUNT, LOOPABLE.
        if (label == rig_.editor->sampleLabel(0) || label == rig_.editor->sampleLabel(1))
            return {"4294967295"};
        if (label == rig_.editor->sampleLabel(2)) return {"true", "false"};
        return {};
    }

    /// The menu whose list is open: a page menu or a choice field.
    COptionMenu* openMenu() const {
        CorvaneVSTGUIEditor* e = rig_.editor;
        for (COptionMenu* m :
             {e->systemMenu(), e->partMenu(), e->toneMenu(), e->samplerMenu(), e->sampleMenu()})
            if (m && m->isPopupOpen()) return m;
        for (int32_t tag : {0x10000101, 0x10000102, 0x10001003})
            if (auto* m = dynamic_cast<COptionMenu*>(e->control(tag)); m && m->isPopupOpen()) return m;
        return nullptr;
    }

    void checkLevel(const std::string& where, size_t level, COptionMenu* menu) {
        MenuPopup* popup = rig_.popup();
        const std::vector<CRect> bounds = popup->levelBounds();
        ASSERT_GT(bounds.size(), level);
        // A list reaching past the window would be cut by its edge.
        const CRect area = rig_.editor->getFrame()->getViewSize();
        EXPECT_TRUE(bounds[level].left >= area.left && bounds[level].right <= area.right &&
                    bounds[level].top >= area.top && bounds[level].bottom <= area.bottom)
            << where;
        ASSERT_NE(menu, nullptr) << where;
        for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
            CMenuItem* item = menu->getEntry(i);
            if (item->isSeparator()) continue;
            ASSERT_FALSE(item->isTitle());  // titles would be drawn bold
            ++counts.menuRows;
            const CRect box = popup->entryTextRect(level, i);
            EXPECT_GE(box.left, bounds[level].left);
            EXPECT_LE(box.right, bounds[level].right);
            fits(where + " row " + std::to_string(i), kNormalFont, item->getTitle().getString(), box);
        }
    }

    EditorRig& rig_;
    double scale_;
    cairo_t* cr_ = nullptr;
};

/// The control of container at exactly the box the background bitmap draws for row, if any.
CControl* controlAt(CViewContainer* container, const art::FieldRow& row) {
    const art::Box b = art::controlBox(row);
    for (uint32_t i = 0; i < container->getNbViews(); ++i) {
        auto* c = dynamic_cast<CControl*>(container->getView(i));
        if (c && c->getViewSize() == CRect(b.left, b.top, b.right, b.bottom)) return c;
    }
    return nullptr;
}

TEST(EditorTextFit, EveryTextFitsItsBoxAtScalesOneToTwo) {
    for (float scale : {1.0f, 1.5f, 2.0f}) {
        EditorRig rig;
        ASSERT_TRUE(rig.openView(scale));
        ASSERT_EQ(rig.window->scale(), scale);
        FitChecker fit(rig, scale);
        CorvaneVSTGUIEditor* e = rig.editor;
        fit.walk("top page", e->topPage());
        fit.walk("tone page", e->tonePage());
        fit.walk("sampler page", e->samplerPage());
        fit.walk("sample page", e->samplePage());
        fit.walk("about overlay", e->aboutOverlay());
        // The wells and slider tracks of the backgrounds lie under the controls.
        CViewContainer* pages[] = {e->topPage(), e->tonePage(), e->samplerPage(), e->samplePage()};
        for (size_t p = 0; p < 4; ++p)
            for (size_t i = 0; i < art::kPages[p].rowCount; ++i) {
                const art::FieldRow& row = art::kPages[p].rows[i];
                CControl* c = controlAt(pages[p], row);
                EXPECT_NE(c, nullptr)
                    << art::kPages[p].file << " row " << i << " at " << row.x << ", " << row.y;
                // A choice field's text stays clear of the arrow compartment of its well.
                if (c && row.kind == art::FieldKind::Choice) {
                    EXPECT_LE(static_cast<CParamDisplay*>(c)->textRect().right,
                              art::controlBox(row).right - art::kChoiceArrowWidth)
                        << art::kPages[p].file << " row " << i;
                }
            }

        for (int32_t tag :
             {0x10000000, 0x10000100, 0x10000101, 0x10000102, 0x10001000, 0x10001003, 0x10003000})
            fit.openAndCheck("tone page shown", tag);
        // The sampler page takes the tone page's place for a part in mode 3.
        float echo = 0.0f;
        rig.engine().applyValueChange(0x0102, 1.0, echo);
        rig.loop.advance(40);
        ASSERT_TRUE(e->samplerPage()->isVisible());
        fit.openAndCheck("sampler page shown", 0x10002000);

        // The text controls: 11 on the top page, 14 tone, 11 sampler, 10 sample, 3 about lines.
        EXPECT_EQ(fit.counts.controls, 49) << "scale " << scale;
        std::printf("scale %g: %d text controls, %d menu rows, %d texts measured\n", scale,
                    fit.counts.controls, fit.counts.menuRows, fit.counts.texts);
        char png[64];
        std::snprintf(png, sizeof(png), "/editor-window-scale%g.png", scale);
        rig.window->writePng(std::string(CORVANE_BINARY_DIR) + png);
    }
}

}  // namespace
}  // namespace velt::corvane::editortest
