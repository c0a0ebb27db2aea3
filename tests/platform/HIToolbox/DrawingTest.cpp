// The recorded port: fixed font metrics, what drawing calls record, clipping, when windows are
// drawn, and the recorded beep.
#include <string>

#include "ToolboxFixture.h"

namespace {

class ToolboxDrawingTest : public ToolboxTest {
protected:
    void SetUp() override {
        ToolboxTest::SetUp();
        GetPort(&saved_);
        SetPortWindowPort(window_);
    }
    void TearDown() override {
        SetPort(saved_);
        ToolboxTest::TearDown();
    }
    HalyxDrawing Last() const {
        HalyxDrawing d = {};
        CGrafPtr port = GetWindowPort(window_);
        HalyxPortGetDrawing(port, HalyxPortDrawingCount(port) - 1, &d);
        return d;
    }
    GrafPtr saved_ = nullptr;
};

TEST_F(ToolboxDrawingTest, FontMetricsGiveAnEighteenPixelLineAtThirteen) {
    FontInfo info;
    TextFont(systemFont);
    TextSize(13);
    GetFontInfo(&info);
    EXPECT_EQ(18, info.ascent + info.descent + info.leading);
    EXPECT_EQ(7, TextWidth("M", 0, 1));
    EXPECT_EQ(210, TextWidth("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM", 0, 30));
    TextSize(0);  // the default size is 12
    GetFontInfo(&info);
    EXPECT_EQ(15, info.ascent + info.descent + info.leading);
    EXPECT_EQ(18, TextWidth("abc", 0, 3));
    TextSize(9);
    GetFontInfo(&info);
    EXPECT_EQ(12, info.ascent + info.descent + info.leading);
    EXPECT_EQ(10, TextWidth("abcdef", 4, 2));
    EXPECT_EQ(0, TextWidth("abc", 0, -1));

    // A test may give one font and size other metrics; the others keep theirs.
    const FontInfo tall = {14, 4, 7, 2};
    HalyxOverrideFontInfo(systemFont, 13, &tall);
    TextSize(13);
    GetFontInfo(&info);
    EXPECT_EQ(20, info.ascent + info.descent + info.leading);
    HalyxGetFontInfoFor(applFont, 13, &info);
    EXPECT_EQ(18, info.ascent + info.descent + info.leading);
    HalyxOverrideFontInfo(systemFont, 13, nullptr);
    GetFontInfo(&info);
    EXPECT_EQ(18, info.ascent + info.descent + info.leading);
}

TEST_F(ToolboxDrawingTest, EachCallRecordsItsRectangleWithThePortsStateAndClip) {
    const RGBColor grey = {0x3890, 0x3890, 0x3890};
    RGBForeColor(&grey);
    TextFont(systemFont);
    TextSize(12);
    TextFace(bold);
    const Rect box = {10, 20, 70, 220};
    FrameRect(&box);
    HalyxDrawing d = Last();
    EXPECT_EQ(kHalyxDrawFrame, d.kind);
    EXPECT_TRUE(EqualRect(&box, &d.rect));
    EXPECT_EQ(0x3890, d.foreColor.green);
    EXPECT_EQ(nullptr, d.text);
    EXPECT_EQ(nullptr, d.control);

    RgnHandle savedClip = NewRgn();
    ASSERT_NE(nullptr, savedClip);
    GetClip(savedClip);
    Rect inner = box;
    InsetRect(&inner, 7, 7);
    ClipRect(&inner);
    TETextBox("Too long", 8, &inner, teFlushLeft);
    d = Last();
    EXPECT_EQ(kHalyxDrawText, d.kind);
    EXPECT_EQ(std::string("Too long"), std::string(d.text, static_cast<size_t>(d.textLength)));
    EXPECT_TRUE(EqualRect(&inner, &d.clip));
    EXPECT_EQ(12, d.size);
    EXPECT_EQ(bold, d.face);
    SetClip(savedClip);
    EraseRect(&inner);
    d = Last();
    EXPECT_EQ(kHalyxDrawErase, d.kind);
    EXPECT_EQ(-32767, d.clip.top);  // the saved clip, the whole plane, is back
    Rect bounds;
    GetRegionBounds(savedClip, &bounds);
    EXPECT_EQ(32767, bounds.right);
    DisposeRgn(savedClip);

    // Without a port nothing is recorded and nothing breaks.
    const UInt32 count = HalyxPortDrawingCount(GetWindowPort(window_));
    SetPort(nullptr);
    FrameRect(&box);
    TETextBox("x", 1, &box, 0);
    FontInfo info;
    GetFontInfo(&info);
    EXPECT_EQ(count, HalyxPortDrawingCount(GetWindowPort(window_)));
    HalyxPortClearDrawings(GetWindowPort(window_));
    EXPECT_EQ(0u, HalyxPortDrawingCount(GetWindowPort(window_)));
}

TEST_F(ToolboxDrawingTest, RectangleArithmetic) {
    Rect r;
    SetRect(&r, 10, 20, 110, 60);  // left, top, right, bottom
    EXPECT_EQ(20, r.top);
    InsetRect(&r, 3, 3);
    EXPECT_EQ(23, r.top);
    EXPECT_EQ(107, r.right);
    InsetRect(&r, 30, 30);  // too far: empty
    EXPECT_TRUE(EmptyRect(&r));
    SetRect(&r, 0, 0, 10, 10);
    Rect other = {5, 5, 20, 20}, both;
    EXPECT_TRUE(SectRect(&r, &other, &both));
    EXPECT_EQ(5, both.top);
    EXPECT_EQ(10, both.right);
    OffsetRect(&other, 100, 0);
    EXPECT_FALSE(SectRect(&r, &other, &both));
    EXPECT_TRUE(PtInRect(Point{0, 0}, &r));
    EXPECT_FALSE(PtInRect(Point{10, 5}, &r));  // bottom edge excluded
}

TEST_F(ToolboxDrawingTest, WindowsDrawWhenShownAndAfterEachInputButNotHiddenControls) {
    ControlRef field = MakeEdit(20, 20, "ab");
    ControlRef secret = MakeEdit(60, 20, "xyz", true);
    ControlRef hidden = MakeEdit(100, 20, "hidden");
    SetControlVisibility(hidden, false, false);
    EXPECT_TRUE(DrawnTexts().empty());  // not shown yet
    ShowWindow(window_);
    EXPECT_EQ((std::vector<std::string>{"ab", "\xA5\xA5\xA5"}), DrawnTexts());

    HalyxPortClearDrawings(GetWindowPort(window_));
    SetKeyboardFocus(window_, field, kControlEditTextPart);
    HalyxTypeText(window_, "cd");  // two key presses, two drawings
    EXPECT_EQ((std::vector<std::string>{"abc", "\xA5\xA5\xA5", "abcd", "\xA5\xA5\xA5"}),
              DrawnTexts());

    // The field's font style is the one its text is drawn in.
    ControlFontStyleRec style = {};
    style.flags = kControlUseSizeMask;
    style.size = 13;
    SetControlData(field, 0, kControlFontStyleTag, sizeof style, &style);
    HalyxPortClearDrawings(GetWindowPort(window_));
    Draw1Control(field);
    HalyxDrawing d;
    ASSERT_EQ(2u, HalyxPortDrawingCount(GetWindowPort(window_)));
    HalyxPortGetDrawing(GetWindowPort(window_), 0, &d);
    EXPECT_EQ(kHalyxDrawControl, d.kind);
    EXPECT_EQ(field, d.control);
    HalyxPortGetDrawing(GetWindowPort(window_), 1, &d);
    EXPECT_EQ(13, d.size);
    (void)secret;
}

TEST(ToolboxBeeps, EachBeepIsCountedWithItsDuration) {
    HalyxResetBeeps();
    SysBeep(1);
    SysBeep(5);
    EXPECT_EQ(2u, HalyxBeepCount());
    EXPECT_EQ(1, HalyxBeepDuration(0));
    EXPECT_EQ(5, HalyxBeepDuration(1));
    EXPECT_EQ(-1, HalyxBeepDuration(2));
    for (int i = 0; i < 5000; ++i) SysBeep(static_cast<SInt16>(i % 7));
    EXPECT_EQ(5002u, HalyxBeepCount());
    EXPECT_EQ(-1, HalyxBeepDuration(0));  // only the latest durations are kept
    EXPECT_EQ(4999 % 7, HalyxBeepDuration(5001));
    HalyxResetBeeps();
    EXPECT_EQ(0u, HalyxBeepCount());
}

}  // namespace
