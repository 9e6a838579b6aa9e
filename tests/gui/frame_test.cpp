#include <gtest/gtest.h>

#include "gui_test_support.h"

using namespace guitest;

namespace {
struct Editor : VSTGUIEditorInterface {
    std::vector<int32_t> begins, ends;
    void beginEdit(int32_t index) override { begins.push_back(index); }
    void endEdit(int32_t index) override { ends.push_back(index); }
};
}  // namespace

TEST(Frame, OpensOnceClosesAndReopens) {
    OffscreenSession session;
    Editor editor;
    auto* frame = new CFrame(CRect(10, 10, 110, 60), &editor);
    EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 100, 50)) << "the frame's origin is 0, 0";
    EXPECT_EQ(frame->getEditor(), &editor);
    EXPECT_FALSE(frame->isOpen());
    ASSERT_TRUE(frame->open(nullptr));
    EXPECT_FALSE(frame->open(nullptr)) << "already open";
    EXPECT_EQ(frame->getRunLoop(), &session.runLoop());
    frame->close();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(OffscreenWindow::of(frame), nullptr);
    EXPECT_TRUE(frame->open(nullptr));
    frame->forget();
}

TEST(Frame, ControlGesturesReachTheEditor) {
    makeResources();
    OffscreenSession session;
    Editor editor;
    RecordingListener listener;
    auto* frame = new CFrame(CRect(0, 0, 100, 50), &editor);
    frame->open(nullptr);
    auto* bitmap = new CBitmap(CResourceDescription("button.png"));
    frame->addView(new CKickButton(CRect(0, 0, 20, 10), &listener, 77, bitmap));
    bitmap->forget();
    OffscreenWindow::of(frame)->click(CPoint(5, 5));
    EXPECT_EQ(editor.begins, std::vector<int32_t>{77});
    EXPECT_EQ(editor.ends, std::vector<int32_t>{77});
    frame->forget();
}

TEST(Frame, ResourceFolderDefaultsToTheBundleLayout) {
    setResourceFolder("");
    std::string folder = getResourceFolder();
    ASSERT_GE(folder.size(), 14u);
    EXPECT_EQ(folder.substr(folder.size() - 14), "/../Resources/");
    EXPECT_EQ(folder.find(CORVANE_BINARY_DIR), 0u) << "beside the module holding the code: " << folder;
    setResourceFolder("/some/where");
    EXPECT_EQ(getResourceFolder(), "/some/where/");
    setResourceFolder("");
}

TEST(Frame, RunLoopStack) {
    OffscreenRunLoop a, b;
    EXPECT_EQ(getCurrentRunLoop(), nullptr);
    {
        ScopedRunLoop sa(&a);
        {
            ScopedRunLoop sb(&b);
            EXPECT_EQ(getCurrentRunLoop(), &b);
        }
        EXPECT_EQ(getCurrentRunLoop(), &a);
        pushRunLoop(&b);
        removeRunLoop(&a);  // removal in any order
        EXPECT_EQ(getCurrentRunLoop(), &b);
        removeRunLoop(&b);
        pushRunLoop(&a);  // balance the scope's removal
    }
    EXPECT_EQ(getCurrentRunLoop(), nullptr);
}
