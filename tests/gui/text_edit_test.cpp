#include <gtest/gtest.h>

#include "gui_test_support.h"

using namespace guitest;

namespace {

struct TextFixture {
    TextFixture() {
        edit = new CTextEdit(CRect(10, 10, 110, 32), &listener, 0x20000103, "64");
        other = new CTextEdit(CRect(10, 50, 110, 72), &listener, 0x20000104, "0");
        f.frame->addView(edit);
        f.frame->addView(other);
    }
    OffscreenFrame f{CRect(0, 0, 200, 100)};
    RecordingListener listener;
    CTextEdit* edit;
    CTextEdit* other;
};

}  // namespace

TEST(TextEdit, ClickTakesFocusTypingReplacesTheSelectionReturnCommits) {
    TextFixture t;
    EXPECT_FALSE(t.edit->hasKeyboardFocus());
    t.f.window->click(CPoint(20, 20));
    EXPECT_EQ(t.f.frame->getFocusView(), t.edit);
    EXPECT_TRUE(t.edit->hasKeyboardFocus());
    EXPECT_TRUE(t.edit->isBeingEdited());
    t.f.window->typeText("-12");
    EXPECT_EQ(t.edit->getEditText(), "-12");
    EXPECT_EQ(t.edit->getText(), "64") << "committed text unchanged while typing";
    EXPECT_TRUE(t.listener.changes.empty());
    t.f.window->virtualKey(VKEY_RETURN);
    EXPECT_EQ(t.edit->getText(), "-12");
    EXPECT_EQ(t.f.frame->getFocusView(), nullptr);
    ASSERT_EQ(t.listener.changes.size(), 1u);
    EXPECT_EQ(t.listener.changes[0].control, t.edit);
    EXPECT_EQ(t.edit->getTag(), 0x20000103);

    // Return commits even when nothing changed.
    t.f.window->click(CPoint(20, 20));
    t.f.window->virtualKey(VKEY_RETURN);
    EXPECT_EQ(t.listener.changes.size(), 2u);
}

TEST(TextEdit, EditingKeys) {
    TextFixture t;
    t.f.window->click(CPoint(20, 20));
    t.f.window->virtualKey(VKEY_END);  // collapse the selection at the end
    t.f.window->typeText("5");
    EXPECT_EQ(t.edit->getEditText(), "645");
    t.f.window->virtualKey(VKEY_LEFT);
    t.f.window->virtualKey(VKEY_BACK);
    EXPECT_EQ(t.edit->getEditText(), "65");
    t.f.window->virtualKey(VKEY_HOME);
    t.f.window->virtualKey(VKEY_DELETE);
    EXPECT_EQ(t.edit->getEditText(), "5");
    t.f.window->virtualKey(VKEY_RIGHT);
    t.f.window->typeText("\xC3\xA9\t");  // é and a tab: any character is taken
    EXPECT_EQ(t.edit->getEditText(), "5\xC3\xA9\t");
    t.f.window->virtualKey(VKEY_BACK);
    t.f.window->virtualKey(VKEY_BACK);
    EXPECT_EQ(t.edit->getEditText(), "5") << "backspace removes whole UTF-8 characters";
    t.f.window->virtualKey(VKEY_SPACE);
    EXPECT_EQ(t.edit->getEditText(), "5 ");
}

TEST(TextEdit, EscapeRevertsAndLeavesTheFocus) {
    TextFixture t;
    t.f.window->click(CPoint(20, 20));
    t.f.window->typeText("999");
    t.f.window->virtualKey(VKEY_ESCAPE);
    EXPECT_EQ(t.edit->getText(), "64");
    EXPECT_EQ(t.f.frame->getFocusView(), nullptr);
    EXPECT_FALSE(t.edit->isBeingEdited());
    EXPECT_TRUE(t.listener.changes.empty());
}

TEST(TextEdit, ClickingElsewhereCommitsAChange) {
    TextFixture t;
    t.f.window->click(CPoint(20, 20));
    t.f.window->typeText("7");
    t.f.window->click(CPoint(20, 60));  // into the other field
    EXPECT_EQ(t.edit->getText(), "7");
    ASSERT_EQ(t.listener.changes.size(), 1u);
    EXPECT_EQ(t.listener.changes[0].control, t.edit);
    EXPECT_EQ(t.f.frame->getFocusView(), t.other);

    // Losing the focus without a change sends nothing.
    t.f.window->click(CPoint(190, 95));
    EXPECT_EQ(t.f.frame->getFocusView(), nullptr);
    EXPECT_EQ(t.listener.changes.size(), 1u);

    // Taking the focus away in code commits too (a dialog opening, say).
    t.f.window->click(CPoint(20, 20));
    t.f.window->typeText("8");
    t.f.frame->setFocusView(nullptr);
    EXPECT_EQ(t.edit->getText(), "8");
    EXPECT_EQ(t.listener.changes.size(), 2u);
}

TEST(TextEdit, SetTextWhileNotFocusedAndKeysWithoutFocus) {
    TextFixture t;
    t.edit->setText("12");
    EXPECT_EQ(t.edit->getText(), "12");
    EXPECT_FALSE(t.f.window->virtualKey(VKEY_RETURN)) << "no focus view: the key is not used";
    std::string raw("\xFF\xFEok", 4);
    t.edit->setText(raw.c_str());
    EXPECT_EQ(t.edit->getText().getString(), raw) << "any bytes are kept";
    t.f.window->flush();  // and drawing them does not fail
}

TEST(TextEdit, RemovingTheFocusedFieldClearsTheFocus) {
    TextFixture t;
    t.f.window->click(CPoint(20, 20));
    t.f.frame->removeView(t.edit);
    EXPECT_EQ(t.f.frame->getFocusView(), nullptr);
}
