// The desktop's content scale read from resource text as the X server hands it out.
#include <gtest/gtest.h>

#include "gui/x11/x11_desktop_scale.h"

namespace {

TEST(DesktopScale, XftDpiStepsToOneOneAndAHalfAndTwo) {
    using VSTGUI::X11::scaleFromResources;
    EXPECT_EQ(scaleFromResources(nullptr), 1.0);
    EXPECT_EQ(scaleFromResources(""), 1.0);
    EXPECT_EQ(scaleFromResources("Xft.dpi:\t96\n"), 1.0);
    EXPECT_EQ(scaleFromResources("Xft.dpi:\t143\n"), 1.0);
    EXPECT_EQ(scaleFromResources("Xft.dpi:\t144\n"), 1.5);
    EXPECT_EQ(scaleFromResources("Xcursor.size:\t48\nXft.dpi:\t191.5\nXft.hinting:\t1\n"), 1.5);
    EXPECT_EQ(scaleFromResources("Xft.antialias:\t1\nXft.dpi:\t192"), 2.0);
    EXPECT_EQ(scaleFromResources("Xft.dpi:\t288\n"), 2.0);
    // Only the entry itself counts, not a name that merely ends like it.
    EXPECT_EQ(scaleFromResources("MyXft.dpi:\t192\n"), 1.0);
}

}  // namespace
