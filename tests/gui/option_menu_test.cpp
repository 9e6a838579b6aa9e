#include <gtest/gtest.h>

#include "gui/controls/menu_popup.h"
#include "gui_test_support.h"

using namespace guitest;

namespace {

struct MenuFixture {
    MenuFixture() {
        // A system-style menu: four entries, a submenu on a disabled entry.
        menu = new COptionMenu(CRect(0, 0, 1, 1), &listener, 0x10000080, nullptr, nullptr,
                               kMultipleCheckStyle | kPopupStyle);
        sub = new COptionMenu(CRect(0, 0, 1, 1), &listener, 0x10000090, nullptr, nullptr, kCheckStyle);
        for (const char* t : {"4", "8", "16", "32", "64", "128", "256", "512", "1024"}) sub->addEntry(t);
        for (const char* t : {"System Reset", "Polyphony", "Recieve sysEx", "NRPN Controlle"})
            menu->addEntry(t);
        for (int i = 0; i < 4; ++i) menu->getEntry(i)->setTag(0x10000080 + 1 + i);
        menu->getEntry(1)->setSubmenu(sub);
        menu->getEntry(1)->setEnabled(false);
    }
    ~MenuFixture() {
        menu->forget();
        sub->forget();
    }
    MenuPopup* popup() const { return dynamic_cast<MenuPopup*>(f.frame->getModalPopup()); }
    CPoint entryCentre(size_t level, int32_t index) const {
        return popup()->entryRect(level, index).getCenter();
    }

    OffscreenFrame f{CRect(0, 0, 528, 608)};
    RecordingListener listener;
    COptionMenu* menu;
    COptionMenu* sub;
};

}  // namespace

TEST(OptionMenu, EntriesSeparatorsAndValues) {
    RecordingListener listener;
    auto* menu = new COptionMenu(CRect(0, 0, 1, 1), &listener, 5);
    for (const char* t : {"Reset Part", "Reset All Controller", "All Sound Off", "OutPut"}) menu->addEntry(t);
    menu->addSeparator(1);
    menu->addSeparator(3);
    ASSERT_EQ(menu->getNbEntries(), 6);
    EXPECT_EQ(menu->getEntry(0)->getTitle(), "Reset Part");
    EXPECT_TRUE(menu->getEntry(1)->isSeparator());
    EXPECT_EQ(menu->getEntry(2)->getTitle(), "Reset All Controller");
    EXPECT_TRUE(menu->getEntry(3)->isSeparator());
    EXPECT_EQ(menu->getEntry(5)->getTitle(), "OutPut");
    EXPECT_EQ(menu->getEntry(6), nullptr);
    EXPECT_FLOAT_EQ(menu->getMax(), 5.f);

    CMenuItem* sep = menu->addEntry("-");
    EXPECT_TRUE(sep->isSeparator());
    menu->removeEntry(6);

    // Normalized values pick index / (entries − 1), rounding what float arithmetic leaves.
    auto* out = new COptionMenu(CRect(0, 0, 1, 1), &listener, 6, nullptr, nullptr, kCheckStyle);
    for (int i = 0; i < 16; ++i)
        out->addEntry(i == 0 ? "Out 1 [Main]" : ("Out " + std::to_string(i + 1)).c_str());
    for (int i = 0; i < 16; ++i) {
        out->setValueNormalized(static_cast<float>(i) / 15.f);
        EXPECT_EQ(out->getCurrentIndex(), i);
        EXPECT_NEAR(out->getValueNormalized(), i / 15.f, 1e-6);
    }
    EXPECT_TRUE(out->setCurrent(3));
    EXPECT_EQ(out->getValue(), 3.f);
    EXPECT_EQ(out->getCurrent()->getTitle(), "Out 4");

    menu->checkEntry(2, true);
    EXPECT_TRUE(menu->isCheckEntry(2));
    menu->checkEntryAlone(4);
    EXPECT_FALSE(menu->isCheckEntry(2));
    EXPECT_TRUE(menu->isCheckEntry(4));
    menu->checkEntry(4, false);
    EXPECT_FALSE(menu->isCheckEntry(4));
    EXPECT_TRUE(listener.changes.empty()) << "programmatic changes tell nobody";

    out->forget();
    menu->forget();
}

TEST(OptionMenu, ChoosingATopLevelEntry) {
    MenuFixture m;
    ASSERT_TRUE(m.menu->popup(m.f.frame, CPoint(8, 50)));
    ASSERT_NE(m.popup(), nullptr);
    EXPECT_EQ(m.popup()->levelBounds()[0].getTopLeft(), CPoint(8, 50));
    m.f.window->click(m.entryCentre(0, 2));
    EXPECT_EQ(m.f.frame->getModalPopup(), nullptr) << "the list closes";
    ASSERT_EQ(m.listener.changes.size(), 1u);
    EXPECT_EQ(m.listener.changes[0].control, m.menu);
    int32_t idx = -1;
    EXPECT_EQ(m.menu->getLastItemMenu(idx), m.menu);
    EXPECT_EQ(idx, 2);
    EXPECT_EQ(m.menu->getEntry(idx)->getTag(), 0x10000083);
    EXPECT_EQ(m.menu->getValue(), 2.f);
}

TEST(OptionMenu, ChoosingInASubmenuOfADisabledEntry) {
    MenuFixture m;
    m.menu->popup(m.f.frame, CPoint(8, 50));
    // Hovering the disabled "Polyphony" entry still opens its submenu.
    m.f.window->mouseMoved(m.entryCentre(0, 1), 0);
    ASSERT_EQ(m.popup()->levelBounds().size(), 2u);
    m.f.window->mouseMoved(m.entryCentre(1, 4), 0);
    m.f.window->click(m.entryCentre(1, 4));  // "64"
    EXPECT_EQ(m.f.frame->getModalPopup(), nullptr);
    ASSERT_EQ(m.listener.changes.size(), 1u) << "only the opened menu's listener call, once";
    EXPECT_EQ(m.listener.changes[0].control, m.menu);
    int32_t idx = -1;
    EXPECT_EQ(m.menu->getLastItemMenu(idx), m.sub);
    EXPECT_EQ(idx, 4);
    EXPECT_FLOAT_EQ(m.sub->getValueNormalized(), 0.5f);
    EXPECT_EQ(m.sub->getCurrentIndex(), 4);

    // Clicking the entry that carries the submenu only opens it.
    m.listener.changes.clear();
    m.menu->popup(m.f.frame, CPoint(8, 50));
    m.f.window->click(m.entryCentre(0, 1));
    EXPECT_NE(m.f.frame->getModalPopup(), nullptr);
    EXPECT_EQ(m.popup()->levelBounds().size(), 2u);
    EXPECT_TRUE(m.listener.changes.empty());
    m.f.window->click(m.entryCentre(1, 8));
    int32_t idx2 = -1;
    EXPECT_EQ(m.menu->getLastItemMenu(idx2), m.sub);
    EXPECT_EQ(idx2, 8);
    EXPECT_FLOAT_EQ(m.sub->getValueNormalized(), 1.f);
}

TEST(OptionMenu, EscapeAndOutsideClicksChangeNothing) {
    MenuFixture m;
    m.menu->setValue(3);
    m.menu->popup(m.f.frame, CPoint(8, 50));
    m.f.window->virtualKey(VKEY_ESCAPE);
    EXPECT_EQ(m.f.frame->getModalPopup(), nullptr);
    m.menu->popup(m.f.frame, CPoint(8, 50));
    m.f.window->click(CPoint(500, 500));
    EXPECT_EQ(m.f.frame->getModalPopup(), nullptr);
    EXPECT_TRUE(m.listener.changes.empty());
    EXPECT_EQ(m.menu->getValue(), 3.f);

    // Separators and disabled entries without a submenu cannot be chosen.
    m.menu->addSeparator(1);
    m.menu->getEntry(0)->setEnabled(false);
    m.menu->popup(m.f.frame, CPoint(8, 50));
    m.f.window->click(m.entryCentre(0, 0));
    m.f.window->click(m.entryCentre(0, 1));
    EXPECT_NE(m.f.frame->getModalPopup(), nullptr);
    EXPECT_TRUE(m.listener.changes.empty());
}

TEST(OptionMenu, KeyboardNavigation) {
    MenuFixture m;
    m.menu->popup(m.f.frame, CPoint(8, 50));
    m.f.window->virtualKey(VKEY_DOWN);   // System Reset
    m.f.window->virtualKey(VKEY_DOWN);   // Polyphony
    m.f.window->virtualKey(VKEY_RIGHT);  // opens the submenu on "4"
    m.f.window->virtualKey(VKEY_DOWN);   // "8"
    m.f.window->virtualKey(VKEY_RETURN);
    int32_t idx = -1;
    EXPECT_EQ(m.menu->getLastItemMenu(idx), m.sub);
    EXPECT_EQ(idx, 1);
    EXPECT_EQ(m.listener.changes.size(), 1u);
}

TEST(OptionMenu, ChoiceFieldOpensBelowItselfAndShowsTheCurrentEntry) {
    OffscreenFrame f(CRect(0, 0, 300, 300));
    RecordingListener listener;
    auto* field = new COptionMenu(CRect(10, 10, 150, 32), &listener, 0x10000102);
    for (const char* t : {"0 [Mute]", "1 [Instrument]", "2 [Percussion]", "3 [Sampler]"}) field->addEntry(t);
    field->setFontColor(CColor(255, 255, 255));
    field->setBackColor(CColor(0, 0, 0));
    f.frame->addView(field);
    field->setValueNormalized(1.f);
    EXPECT_EQ(field->getCurrentIndex(), 3);

    f.window->click(CPoint(20, 20));
    auto* popup = dynamic_cast<MenuPopup*>(f.frame->getModalPopup());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->levelBounds()[0].getTopLeft(), CPoint(10, 32));
    f.window->click(popup->entryRect(0, 1).getCenter());
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(field->getCurrentIndex(), 1);
    EXPECT_NEAR(field->getValueNormalized(), 1.f / 3, 1e-6);

    // With kNoDrawStyle the field draws nothing of its own.
    field->setStyle(kNoDrawStyle);
    EXPECT_EQ(f.window->pixelAt(CPoint(20, 20)), CColor(0, 0, 0, 255));
}

TEST(OptionMenu, PopupOpenedByAButtonPressKeepsTheButtonsRelease) {
    makeResources();
    MenuFixture m;
    struct Opener : IControlListener {
        COptionMenu* menu = nullptr;
        CFrame* frame = nullptr;
        void valueChanged(CControl* c) override {
            if (c->getValue() > 0.5f) menu->popup(frame, CPoint(8, 50));
        }
    } opener;
    opener.menu = m.menu;
    opener.frame = m.f.frame;
    auto* bitmap = new CBitmap(CResourceDescription("button.png"));
    auto* button = new CKickButton(CRect(8, 50, 28, 60), &opener, 1, bitmap);
    bitmap->forget();
    m.f.frame->addView(button);
    m.f.window->mouseDown(CPoint(10, 52));
    ASSERT_NE(m.f.frame->getModalPopup(), nullptr);
    m.f.window->mouseUp(CPoint(10, 52));
    EXPECT_EQ(button->getValue(), 0.f) << "the press's release reached the button";
    EXPECT_NE(m.f.frame->getModalPopup(), nullptr) << "and did not choose an entry";
    EXPECT_TRUE(m.listener.changes.empty());
    m.f.window->click(m.entryCentre(0, 3));
    EXPECT_EQ(m.listener.changes.size(), 1u);
}

TEST(OptionMenu, SubmenuLifetimeAndDrawing) {
    auto* sub = new COptionMenu(CRect(0, 0, 1, 1), nullptr, 1);
    sub->addEntry("a");
    auto* menu = new COptionMenu(CRect(0, 0, 1, 1), nullptr, 2, nullptr, nullptr, kMultipleCheckStyle);
    menu->addEntry(sub, "sub");
    EXPECT_EQ(sub->getNbReference(), 2) << "the entry holds the submenu";
    sub->forget();
    menu->addEntry("checked");
    menu->checkEntry(1, true);
    {
        OffscreenFrame f(CRect(0, 0, 200, 200));
        menu->popup(f.frame, CPoint(0, 0));
        std::string png = testFolder("menus") + "/popup.png";
        EXPECT_TRUE(f.window->writePng(png));
        EXPECT_EQ(f.window->pixelAt(CPoint(30, 2)), CColor(245, 245, 245, 255)) << "the list is drawn on top";
    }
    menu->forget();
}
