// Control state that wrappers forward to: values within their limits, references, bounds and
// moves, the older creation call, and calls made with controls that do not exist.
#include "ToolboxFixture.h"

namespace {

using ToolboxControlStateTest = ToolboxTest;

TEST_F(ToolboxControlStateTest, ValuesStayWithinTheirLimits) {
    const Rect r = {10, 10, 70, 210};
    int owner = 0;
    const unsigned char title[] = {0};
    ControlRef placard = NewControl(window_, &r, title, true, 9, 0, 5, kControlPlacardProc, &owner);
    ASSERT_NE(nullptr, placard);
    EXPECT_EQ(5, GetControlValue(placard));  // created above its maximum
    EXPECT_EQ(&owner, GetControlReference(placard));
    SetControlValue(placard, -3);
    EXPECT_EQ(0, GetControlValue(placard));
    SetControlMaximum(placard, -2);  // the minimum and value follow a maximum set below them
    EXPECT_EQ(-2, GetControlMinimum(placard));
    EXPECT_EQ(-2, GetControlValue(placard));
    SetControlMinimum(placard, 4);
    EXPECT_EQ(4, GetControlMaximum(placard));
    EXPECT_EQ(4, GetControlValue(placard));
    EXPECT_EQ(nullptr, NewControl(window_, &r, title, true, 0, 0, 0, 999, nullptr));
}

TEST_F(ToolboxControlStateTest, BoundsMoveKeepingTheirSize) {
    ControlRef pane = MakePane(10, 20, 50, 120);
    MoveControl(pane, 200, 100);
    Rect r;
    GetControlBounds(pane, &r);
    EXPECT_EQ(100, r.top);
    EXPECT_EQ(200, r.left);
    EXPECT_EQ(140, r.bottom);
    EXPECT_EQ(300, r.right);
    const Rect moved = {1, 2, 3, 4};
    SetControlBounds(pane, &moved);
    GetControlBounds(pane, &r);
    EXPECT_TRUE(EqualRect(&moved, &r));
}

TEST_F(ToolboxControlStateTest, ControlsThatDoNotExistAreRefusedNotFollowed) {
    ControlRef gone = MakePane(0, 0, 10, 10);
    DisposeControl(gone);
    Rect r = {1, 1, 1, 1};
    GetControlBounds(gone, &r);
    EXPECT_TRUE(EmptyRect(&r));
    EXPECT_EQ(errUnknownControl, SetControlVisibility(gone, true, true));
    EXPECT_EQ(errUnknownControl, ActivateControl(gone));
    UInt32 command = 1;
    EXPECT_EQ(errUnknownControl, GetControlCommandID(gone, &command));
    EXPECT_EQ(nullptr, GetControlReference(gone));
    EXPECT_EQ(errUnknownControl, HalyxClickControl(gone, 0));
    ControlRef root = nullptr;
    GetRootControl(window_, &root);
    DisposeControl(root);  // the root goes only with its window
    EXPECT_EQ(window_, GetControlOwner(root));
    // Without memory a control is not made.
    HalyxFailureScope scope;
    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    ControlRef none = reinterpret_cast<ControlRef>(&r);
    const Rect bounds = {0, 0, 10, 10};
    EXPECT_EQ(memFullErr, CreatePlacardControl(window_, &bounds, &none));
    EXPECT_EQ(nullptr, none);
}

}  // namespace
