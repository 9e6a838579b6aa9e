#include <gtest/gtest.h>

#include <fstream>

#include "gui/controls/menu_popup.h"
#include "gui_test_support.h"

using namespace guitest;

namespace {
void expectColor(const CColor& got, const CColor& want, int tolerance = 2) {
    EXPECT_NEAR(got.red, want.red, tolerance);
    EXPECT_NEAR(got.green, want.green, tolerance);
    EXPECT_NEAR(got.blue, want.blue, tolerance);
    EXPECT_NEAR(got.alpha, want.alpha, tolerance);
}
}  // namespace

TEST(Drawing, BackgroundColoursBitmapsAndPng) {
    makeResources();
    OffscreenFrame f(CRect(0, 0, 200, 150));
    auto* page = new CViewContainer(CRect(0, 0, 200, 150));
    page->setBackgroundColor(CColor(0, 0, 255));
    f.frame->addView(page);
    auto* bitmapPage = new CViewContainer(CRect(50, 40, 150, 100));
    auto* bg = new CBitmap(CResourceDescription("bg.png"));
    ASSERT_EQ(bg->getWidth(), 100);
    ASSERT_EQ(bg->getHeight(), 60);
    bitmapPage->setBackground(bg);
    bg->forget();
    page->addView(bitmapPage);

    expectColor(f.window->pixelAt(CPoint(5, 5)), CColor(0, 0, 255));
    expectColor(f.window->pixelAt(CPoint(60, 50)), CColor(10, 200, 30));
    expectColor(f.window->pixelAt(CPoint(149, 99)), CColor(10, 200, 30));
    expectColor(f.window->pixelAt(CPoint(150, 100)), CColor(0, 0, 255));

    // A translucent overlay blends over what is below.
    auto* overlay = new CLayeredViewContainer(CRect(0, 0, 200, 150));
    overlay->setBackgroundColor(CColor(255, 0, 0, 128));
    f.frame->addView(overlay);
    CColor blended = f.window->pixelAt(CPoint(5, 5));
    EXPECT_NEAR(blended.red, 128, 3);
    EXPECT_NEAR(blended.blue, 127, 3);
    overlay->setVisible(false);
    expectColor(f.window->pixelAt(CPoint(5, 5)), CColor(0, 0, 255));

    EXPECT_TRUE(f.window->writePng(testFolder("drawing") + "/window.png"));  // to look at
    std::string png = testFolder("drawing") + "/window-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(f.window->writePng(png));
    std::ifstream in(png, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    std::remove(png.c_str());
}

TEST(Drawing, MissingBitmapIsEmptyAndDrawsNothing) {
    makeResources();
    auto* missing = new CBitmap(CResourceDescription("no-such-file.png"));
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_FALSE(missing->isLoaded());
    OffscreenFrame f(CRect(0, 0, 40, 40));
    auto* page = new CViewContainer(CRect(0, 0, 40, 40));
    page->setBackgroundColor(CColor(9, 9, 9));
    page->setBackground(missing);
    missing->forget();
    f.frame->addView(page);
    expectColor(f.window->pixelAt(CPoint(20, 20)), CColor(9, 9, 9));
}

TEST(Drawing, OnlyInvalidatedAreasAreRedrawn) {
    OffscreenFrame f(CRect(0, 0, 100, 100));
    auto* page = new CViewContainer(CRect(0, 0, 100, 100));
    f.frame->addView(page);
    auto* child = new CViewContainer(CRect(10, 10, 30, 30));
    page->addView(child);
    f.window->flush();
    EXPECT_FALSE(f.window->hasPendingRedraw());
    int draws = f.window->drawCount();
    child->setBackgroundColor(CColor(1, 2, 3));
    EXPECT_TRUE(f.window->hasPendingRedraw());
    f.frame->idle();
    EXPECT_EQ(f.window->drawCount(), draws + 1);
    EXPECT_EQ(f.window->lastDrawnRect(), CRect(10, 10, 30, 30));
}

TEST(Drawing, ContentScaleDoublesThePixelSize) {
    OffscreenFrame f(CRect(0, 0, 50, 40), 2.0);
    EXPECT_EQ(f.window->pixelWidth(), 100);
    EXPECT_EQ(f.window->pixelHeight(), 80);
    auto* page = new CViewContainer(CRect(10, 10, 20, 20));
    page->setBackgroundColor(CColor(200, 100, 50));
    f.frame->addView(page);
    expectColor(f.window->pixel(20, 20), CColor(200, 100, 50));
    expectColor(f.window->pixel(39, 39), CColor(200, 100, 50));
    expectColor(f.window->pixel(40, 40), CColor(0, 0, 0));
    EXPECT_TRUE(f.frame->setScaleFactor(1.0));
    EXPECT_EQ(f.window->pixelWidth(), 50);
    expectColor(f.window->pixel(15, 15), CColor(200, 100, 50));
}

TEST(Drawing, TextIsDrawnInTheFontColour) {
    OffscreenFrame f(CRect(0, 0, 120, 30));
    auto* label = new CTextLabel(CRect(0, 0, 120, 30), "WWWWWWWW");
    auto* font = new CFontDesc("Arial", 20);
    label->setFont(font);
    font->forget();
    label->setFontColor(CColor(255, 255, 255));
    label->setBackColor(CColor(0, 0, 0));
    label->setFrameColor(kTransparentCColor);
    f.frame->addView(label);
    int bright = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 30; ++y)
            if (f.window->pixel(x, y).red > 200) ++bright;
    EXPECT_GT(bright, 50) << "some text pixels are drawn";
    EXPECT_GT(kNormalFont->getStringWidth("Hello"), 10);
}

TEST(Drawing, ShowcaseWindowWithControlsAndAnOpenMenu) {
    makeResources();
    OffscreenFrame f(CRect(0, 0, 320, 240), 2.0);
    RecordingListener listener;
    auto* page = new CViewContainer(CRect(0, 0, 320, 240));
    page->setBackgroundColor(CColor(214, 222, 216));
    f.frame->addView(page);
    const CColor ink(49, 71, 59);
    auto style = [&](CParamDisplay* d) {
        d->setFontColor(ink);
        d->setBackColor(CColor(23, 23, 23, 0));
        d->setFrameColor(CColor(23, 23, 23, 60));
    };
    auto* label = new CTextLabel(CRect(10, 10, 150, 32), "PROGRAM");
    style(label);
    label->setHoriAlign(kLeftText);
    page->addView(label);
    auto* handle = new CBitmap(CResourceDescription("knob.png"));
    auto* slider = new CHorizontalSlider(CRect(150, 10, 244, 32), &listener, 1, 150, 234, handle, nullptr);
    handle->forget();
    slider->setValueNormalized(0.4f);
    page->addView(slider);
    auto* edit = new CTextEdit(CRect(250, 10, 310, 32), &listener, 2, "64");
    style(edit);
    page->addView(edit);
    auto* choice = new COptionMenu(CRect(10, 40, 150, 62), &listener, 3);
    for (const char* t : {"0 [Mute]", "1 [Instrument]", "2 [Percussion]", "3 [Sampler]"}) choice->addEntry(t);
    choice->setValue(1);
    style(choice);
    page->addView(choice);
    auto* sub = new COptionMenu(CRect(0, 0, 1, 1), nullptr, 4, nullptr, nullptr, kCheckStyle);
    for (const char* t : {"4", "8", "16", "32"}) sub->addEntry(t);
    sub->setValue(2);
    auto* menu = new COptionMenu(CRect(0, 0, 1, 1), &listener, 5, nullptr, nullptr, kMultipleCheckStyle);
    menu->addEntry("System Reset");
    menu->addEntry(sub, "Polyphony");
    menu->addEntry("Recieve sysEx");
    menu->addEntry("NRPN Controlle");
    menu->getEntry(1)->setEnabled(false);
    menu->checkEntry(2, true);
    menu->addSeparator(1);
    sub->forget();
    f.window->click(CPoint(260, 20));  // focus the text field
    f.window->virtualKey(VKEY_END);
    f.window->typeText("5");
    menu->popup(f.frame, CPoint(20, 70));
    auto* popup = dynamic_cast<MenuPopup*>(f.frame->getModalPopup());
    ASSERT_NE(popup, nullptr);
    f.window->mouseMoved(popup->entryRect(0, 2).getCenter(), 0);
    std::string png = testFolder("drawing") + "/showcase.png";
    EXPECT_TRUE(f.window->writePng(png));
    f.window->virtualKey(VKEY_ESCAPE);
    menu->forget();
}
