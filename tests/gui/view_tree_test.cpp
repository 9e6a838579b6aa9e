#include <gtest/gtest.h>

#include "gui_test_support.h"

using namespace guitest;

namespace {

// Counts its own destruction, so tests can see who released what.
struct CountedView : CView {
    explicit CountedView(const CRect& r, int* destroyed) : CView(r), destroyed_(destroyed) {}
    ~CountedView() override { ++*destroyed_; }
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
        lastDown = where;
        ++downs;
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override {
        ++ups;
        return kMouseEventHandled;
    }
    int* destroyed_;
    CPoint lastDown;
    int downs = 0;
    int ups = 0;
};

}  // namespace

TEST(ViewTree, ReferenceCountingAndOwnership) {
    int destroyed = 0;
    auto* container = new CViewContainer(CRect(0, 0, 100, 100));
    auto* a = new CountedView(CRect(0, 0, 10, 10), &destroyed);
    auto* b = new CountedView(CRect(10, 0, 20, 10), &destroyed);
    EXPECT_EQ(a->getNbReference(), 1);
    EXPECT_TRUE(container->addView(a));
    EXPECT_TRUE(container->addView(b));
    EXPECT_FALSE(container->addView(a)) << "a view has one parent";
    EXPECT_EQ(container->getNbViews(), 2u);
    EXPECT_EQ(a->getParentView(), container);

    b->remember();
    EXPECT_TRUE(container->removeView(b));
    EXPECT_EQ(destroyed, 0) << "the extra reference keeps b";
    EXPECT_EQ(b->getParentView(), nullptr);
    b->forget();
    EXPECT_EQ(destroyed, 1);

    auto* c = new CountedView(CRect(0, 0, 5, 5), &destroyed);
    container->addView(c);
    EXPECT_TRUE(container->removeView(c, false));
    EXPECT_EQ(destroyed, 1);
    c->forget();
    EXPECT_EQ(destroyed, 2);

    container->forget();
    EXPECT_EQ(destroyed, 3) << "the container released a";
}

TEST(ViewTree, RemoveAllReleasesEveryChild) {
    int destroyed = 0;
    auto* container = new CViewContainer(CRect(0, 0, 100, 100));
    for (int i = 0; i < 5; ++i) container->addView(new CountedView(CRect(0, 0, 5, 5), &destroyed));
    container->removeAll();
    EXPECT_EQ(destroyed, 5);
    EXPECT_EQ(container->getNbViews(), 0u);
    container->forget();
}

TEST(ViewTree, HitTestingFromTheTopMostVisibleChild) {
    int destroyed = 0;
    OffscreenFrame f;
    auto* bottom = new CountedView(CRect(0, 0, 100, 100), &destroyed);
    auto* inner = new CViewContainer(CRect(20, 20, 80, 80));
    auto* top = new CountedView(CRect(10, 10, 30, 30), &destroyed);  // inner's coordinates
    f.frame->addView(bottom);
    f.frame->addView(inner);
    inner->addView(top);

    f.window->click(CPoint(35, 35));
    EXPECT_EQ(top->downs, 1);
    EXPECT_EQ(top->ups, 1);
    EXPECT_EQ(top->lastDown, CPoint(15, 15)) << "points arrive in the parent's coordinates";
    EXPECT_EQ(bottom->downs, 0);

    // The inner container is opaque: a click on its empty part goes no further.
    f.window->click(CPoint(70, 70));
    EXPECT_EQ(bottom->downs, 0);

    // An invisible container swallows nothing.
    inner->setVisible(false);
    f.window->click(CPoint(35, 35));
    EXPECT_EQ(top->downs, 1);
    EXPECT_EQ(bottom->downs, 1);

    inner->setVisible(true);
    inner->setAlphaValue(0.f);
    EXPECT_FALSE(inner->isVisible()) << "alpha 0 counts as hidden";
    EXPECT_TRUE(inner->getVisibleFlag());
    f.window->click(CPoint(35, 35));
    EXPECT_EQ(bottom->downs, 2);

    // A transparent container passes unhandled clicks on.
    inner->setAlphaValue(1.f);
    inner->setTransparency(true);
    f.window->click(CPoint(70, 70));
    EXPECT_EQ(bottom->downs, 3);

    inner->setMouseEnabled(false);
    f.window->click(CPoint(35, 35));
    EXPECT_EQ(top->downs, 1) << "a container with the mouse off passes the click on";
    EXPECT_EQ(bottom->downs, 4);
}

TEST(ViewTree, MouseUpGoesToThePressedViewEvenWhenItWasHidden) {
    int destroyed = 0;
    OffscreenFrame f;
    auto* v = new CountedView(CRect(0, 0, 50, 50), &destroyed);
    f.frame->addView(v);
    f.window->mouseDown(CPoint(5, 5));
    v->setVisible(false);
    f.window->mouseUp(CPoint(120, 120));
    EXPECT_EQ(v->ups, 1);
}

TEST(ViewTree, ZOrderAndFrameLookup) {
    OffscreenFrame f;
    auto* a = new CViewContainer(CRect(0, 0, 10, 10));
    auto* b = new CView(CRect(0, 0, 10, 10));
    f.frame->addView(a);
    a->addView(b);
    EXPECT_EQ(b->getFrame(), f.frame);
    EXPECT_TRUE(f.frame->isChild(b, true));
    EXPECT_FALSE(f.frame->isChild(b, false));
    auto* c = new CView(CRect(0, 0, 10, 10));
    f.frame->addView(c);
    EXPECT_EQ(f.frame->getView(1), c);
    f.frame->changeViewZOrder(c, 0);
    EXPECT_EQ(f.frame->getView(0), c);
    CPoint p(3, 4);
    b->localToFrame(p);
    EXPECT_EQ(p, CPoint(3, 4));
}
