// The keyboard focus: who may take it, Tab and Shift-Tab order, and what takes it away.
#include "ToolboxFixture.h"

namespace {

class ToolboxFocusTest : public ToolboxTest {
protected:
    void SetUp() override {
        ToolboxTest::SetUp();
        pane_ = MakePane(0, 0, 300, 300);
        a_ = MakeEdit(10, 10, "a");
        b_ = MakeEdit(40, 10, "b");
        c_ = MakeEdit(70, 10, "c");
        // Embedding order, not creation order, is the Tab order: b moves into the pane, after c.
        EmbedControl(a_, pane_);
        EmbedControl(c_, pane_);
        EmbedControl(b_, pane_);
    }

    ControlRef Focus() const {
        ControlRef focus = nullptr;
        GetKeyboardFocus(window_, &focus);
        return focus;
    }

    ControlRef pane_ = nullptr;
    ControlRef a_ = nullptr;
    ControlRef b_ = nullptr;
    ControlRef c_ = nullptr;
};

TEST_F(ToolboxFocusTest, TabWalksTheFieldsInEmbeddingOrderAndWraps) {
    EXPECT_EQ(nullptr, Focus());
    HalyxPressTab(window_, false);  // no focus: the first field
    EXPECT_EQ(a_, Focus());
    HalyxPressTab(window_, false);
    EXPECT_EQ(c_, Focus());
    HalyxPressTab(window_, false);
    EXPECT_EQ(b_, Focus());
    HalyxPressTab(window_, false);
    EXPECT_EQ(a_, Focus());
    HalyxPressTab(window_, true);  // Shift-Tab goes back, wrapping to the last
    EXPECT_EQ(b_, Focus());
    ClearKeyboardFocus(window_);
    HalyxPressTab(window_, true);
    EXPECT_EQ(b_, Focus());
    // Tab moves the focus without typing anything.
    EXPECT_EQ("a", Bytes(a_));
    EXPECT_EQ("b", Bytes(b_));
}

TEST_F(ToolboxFocusTest, HiddenDisabledAndInactiveFieldsAreSkipped) {
    SetControlVisibility(c_, false, false);
    HiliteControl(b_, kControlDisabledPart);
    SetKeyboardFocus(window_, a_, kControlEditTextPart);
    HalyxPressTab(window_, false);
    EXPECT_EQ(a_, Focus());  // the only field left
    HiliteControl(b_, kControlNoPart);
    DeactivateControl(a_);
    EXPECT_EQ(nullptr, Focus());
    AdvanceKeyboardFocus(window_);
    EXPECT_EQ(b_, Focus());
    // Hiding a container hides what it holds and takes the focus from it.
    SetControlVisibility(pane_, false, false);
    EXPECT_EQ(nullptr, Focus());
    EXPECT_EQ(noErr, AdvanceKeyboardFocus(window_));
    EXPECT_EQ(nullptr, Focus());
    EXPECT_TRUE(IsControlVisible(b_));  // its own flag is unchanged
}

TEST_F(ToolboxFocusTest, OnlyAShownEnabledEditTextTakesTheFocus) {
    EXPECT_EQ(errControlDoesntSupportFocus,
              SetKeyboardFocus(window_, pane_, kControlFocusNextPart));
    HiliteControl(a_, kControlDisabledPart);
    EXPECT_EQ(errCouldntSetFocus, SetKeyboardFocus(window_, a_, kControlEditTextPart));
    EXPECT_EQ(noErr, SetKeyboardFocus(window_, b_, kControlEditTextPart));
    EXPECT_EQ(b_, Focus());
    EXPECT_EQ(noErr, SetKeyboardFocus(window_, b_, kControlFocusNoPart));
    EXPECT_EQ(nullptr, Focus());

    WindowRef other = nullptr;
    const Rect bounds = {0, 0, 100, 100};
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &other));
    EXPECT_EQ(errUnknownControl, SetKeyboardFocus(other, b_, kControlEditTextPart));
    DisposeWindow(other);
    EXPECT_EQ(errInvalidWindowRef, SetKeyboardFocus(other, b_, kControlEditTextPart));
}

TEST_F(ToolboxFocusTest, AHandlerThatTakesTabKeepsTheFocusWhereItIs) {
    struct Keeper {
        static OSStatus Handle(EventHandlerCallRef, EventRef event, void*) {
            UniChar c = 0;
            GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr,
                              sizeof c, nullptr, &c);
            return c == 9 ? OSStatus{noErr} : OSStatus{eventNotHandledErr};
        }
    };
    const EventTypeSpec types[] = {{kEventClassTextInput, kEventTextInputUnicodeForKeyEvent}};
    ASSERT_EQ(noErr, InstallControlEventHandler(pane_, NewEventHandlerUPP(Keeper::Handle), 1, types,
                                                nullptr, nullptr));
    SetKeyboardFocus(window_, a_, kControlEditTextPart);
    HalyxPressTab(window_, false);
    EXPECT_EQ(a_, Focus());
    HalyxTypeText(window_, "x");  // other keys still reach the field
    EXPECT_EQ("ax", Bytes(a_));
}

TEST_F(ToolboxFocusTest, EmbeddingKeepsTheTreeSound) {
    EXPECT_EQ(errCantEmbedIntoSelf, EmbedControl(pane_, pane_));
    ControlRef inner = MakePane(10, 10, 50, 50);
    EmbedControl(inner, pane_);
    EXPECT_EQ(errCantEmbedIntoSelf, EmbedControl(pane_, inner));
    EXPECT_EQ(errControlIsNotEmbedder, EmbedControl(inner, a_));
    ControlRef parent = nullptr;
    EXPECT_EQ(noErr, GetSuperControl(inner, &parent));
    EXPECT_EQ(pane_, parent);
    ControlRef root = nullptr;
    GetRootControl(window_, &root);
    GetSuperControl(pane_, &parent);
    EXPECT_EQ(root, parent);
    EXPECT_EQ(window_, GetControlOwner(inner));
}

}  // namespace
