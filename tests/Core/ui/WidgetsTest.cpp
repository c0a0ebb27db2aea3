// The widgets on their own: control defaults, the message area's buffer, and the text field's
// first place and password mask.
#include <string>

#include "Core/ui/ORBControl.h"
#include "EditorHarness.h"
#include "testing/FailureInjection.h"

namespace {

class WidgetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Rect bounds = {0, 0, 400, 600};
        ASSERT_EQ(noErr,
                  CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window));
    }
    void TearDown() override { DisposeWindow(window); }
    WindowRef window = nullptr;
};

TEST_F(WidgetsTest, DefaultValuesOutsideTheLimitsAreRefused) {
    const Rect bounds = {10, 10, 30, 100};
    Str255 empty = {0};
    ORBControl control(
        NewControl(window, &bounds, empty, true, 3, 2, 10, kControlPlacardProc, nullptr), true);
    EXPECT_EQ(10, control.SetDefaultValue(11));
    EXPECT_EQ(0, control.GetDefaultValue());
    EXPECT_EQ(2, control.SetDefaultValue(1));
    EXPECT_EQ(0, control.GetDefaultValue());
    EXPECT_EQ(7, control.SetDefaultValue(7));
    EXPECT_EQ(7, control.GetDefaultValue());
    control.Disable();
    EXPECT_FALSE(control.IsEnabled());
    control.Enable();
    EXPECT_TRUE(control.IsEnabled());

    ORBControl none;
    EXPECT_EQ(0, none.SetDefaultValue(5));
    EXPECT_FALSE(none.IsVisible());
}

TEST_F(WidgetsTest, MessageAreaKeepsItsTextWhenANewOneDoesNotFit) {
    const Rect bounds = {100, 0, 160, 500};
    UI_MessageBox box(window, kMessageBoxPlain, bounds, 512, systemFont, 12);
    ASSERT_TRUE(box.Ready());
    const Rect text = box.TextRect();
    EXPECT_EQ(bounds.top + 7, text.top);
    EXPECT_EQ(bounds.right - 7, text.right);
    const std::string fits(511, 'a');
    box.post(fits.c_str());
    EXPECT_EQ(fits, box.Text());
    box.post(std::string(600, 'b').c_str());
    EXPECT_EQ(fits, box.Text());

    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    UI_MessageBox starved(window, kMessageBoxEtched, bounds, 512, systemFont, 12);
    HalyxResetFailures();
    EXPECT_FALSE(starved.Ready());
    EXPECT_EQ(memFullErr, starved.Status());
    starved.post("ignored");
    EXPECT_STREQ("", starved.Text());
}

TEST_F(WidgetsTest, ANewFieldSitsInsideItsCellUntilTheEditorPlacesIt) {
    const Rect cell = {100, 50, 140, 250};  // 40 high
    UI_EditControl field(window, nullptr, cell, "abc", true, true, false, nullptr);
    ASSERT_TRUE(field.IsInitialized());
    Rect bounds;
    GetControlBounds(field.Control(), &bounds);
    EXPECT_EQ(24, bounds.bottom - bounds.top);
    EXPECT_EQ(cell.right - 16, bounds.right);
    EXPECT_EQ(cell.left, bounds.left);
    EXPECT_EQ(18, field.Height());
    EXPECT_EQ(1, field.Initialize(cell, "again", true, true, false));
}

TEST_F(WidgetsTest, PasswordOfOneLetterShowsTenBulletsOnlyWhileInactive) {
    const Rect cell = {100, 50, 140, 250};
    UI_EditControl field(window, nullptr, cell, "", true, true, true, nullptr);
    ShowWindow(window);
    field.Activate(true);
    HalyxPressKey(window, 'q', 0);
    char text[256];
    Size size = 0;
    GetControlData(field.Control(), kControlEditTextPart, kControlEditTextPasswordTag, sizeof text,
                   text, &size);
    EXPECT_EQ(std::string("q"), std::string(text, static_cast<size_t>(size)));

    field.Activate(false);
    GetControlData(field.Control(), kControlEditTextPart, kControlEditTextTextTag, sizeof text,
                   text, &size);
    EXPECT_EQ(std::string(10, '\xA5'), std::string(text, static_cast<size_t>(size)));
    EXPECT_EQ(1, field.getTextLen());
    EXPECT_EQ(1, field.getGlyphCount());
    field.getText(text, sizeof text);
    EXPECT_STREQ("q", text);

    field.Activate(true);
    EXPECT_EQ(1, field.getTextLen());
    field.getText(text, sizeof text);
    EXPECT_STREQ("q", text);

    // A text set while inactive is kept aside and masked.
    field.Activate(false);
    field.setText("0123456789012");
    field.getText(text, sizeof text);
    EXPECT_STREQ("0123456789012", text);
    GetControlData(field.Control(), kControlEditTextPart, kControlEditTextTextTag, sizeof text,
                   text, &size);
    EXPECT_EQ(10, size);

    HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
    UI_EditControl starved(window, nullptr, cell, "x", true, true, true, nullptr);
    HalyxResetFailures();
    EXPECT_FALSE(starved.IsInitialized());
    EXPECT_EQ(0, starved.getTextLen());
}

}  // namespace
