// The edit text's own behaviour when no handler takes a key: typing, deleting, moving the caret,
// the single-line rule, pasting, and its tagged data.
#include <string>

#include "ToolboxFixture.h"

namespace {

class ToolboxEditTextTest : public ToolboxTest {
protected:
    void SetUp() override {
        ToolboxTest::SetUp();
        field_ = MakeEdit(20, 20, "hello");
        ASSERT_EQ(noErr, SetKeyboardFocus(window_, field_, kControlEditTextPart));
    }
    ControlRef field_ = nullptr;
};

TEST_F(ToolboxEditTextTest, TypingReplacesTheSelectionAndLeavesTheCaretAfterIt) {
    EXPECT_EQ(5, Selection(field_).selStart);  // a set text leaves the caret at its end
    EXPECT_EQ(noErr, HalyxTypeText(window_, "!"));
    EXPECT_EQ("hello!", Bytes(field_));
    Select(field_, 1, 4);
    HalyxTypeText(window_, "ipp");
    EXPECT_EQ("hippo!", Bytes(field_));
    EXPECT_EQ(4, Selection(field_).selStart);
    EXPECT_EQ(4, Selection(field_).selEnd);
    // A selection given backwards or past the end is put in order and kept within the text.
    Select(field_, 6, 2);
    EXPECT_EQ(2, Selection(field_).selStart);
    EXPECT_EQ(6, Selection(field_).selEnd);
    Select(field_, 0, -1);
    EXPECT_EQ(6, Selection(field_).selEnd);
}

TEST_F(ToolboxEditTextTest, BackspaceDeleteAndArrowsEditAroundTheCaret) {
    HalyxPressKey(window_, 8, 0);  // backspace at the end
    EXPECT_EQ("hell", Bytes(field_));
    HalyxPressKey(window_, 28, 0);  // left
    HalyxPressKey(window_, 28, 0);
    HalyxPressKey(window_, 0x7F, 0);  // forward delete takes the character after the caret
    EXPECT_EQ("hel", Bytes(field_));
    HalyxPressKey(window_, 30, 0);  // up: to the start of the one line
    HalyxPressKey(window_, 8, 0);   // nothing before the caret
    HalyxTypeText(window_, ">");
    EXPECT_EQ(">hel", Bytes(field_));
    HalyxPressKey(window_, 31, 0);  // down: to the end
    HalyxPressKey(window_, 29, 0);  // right past the end stays at the end
    HalyxTypeText(window_, "<");
    EXPECT_EQ(">hel<", Bytes(field_));
    Select(field_, 1, 4);
    HalyxPressKey(window_, 29, 0);  // an arrow collapses the selection to its side
    EXPECT_EQ(4, Selection(field_).selStart);
    EXPECT_EQ(4, Selection(field_).selEnd);
    Select(field_, 1, 4);
    HalyxPressKey(window_, 8, 0);  // backspace takes a whole selection
    EXPECT_EQ("><", Bytes(field_));
}

TEST_F(ToolboxEditTextTest, ControlCharactersNeverEnterTheField) {
    const UniChar controls[] = {0, 3, 10, 13, 27, 0x1F};
    for (UniChar c : controls) HalyxPressKey(window_, c, 0);
    EXPECT_EQ("hello", Bytes(field_));
    HalyxTypeText(window_, "a\nb\tc");
    EXPECT_EQ("helloabc", Bytes(field_));
    // Text set by the program is held to one line as well.
    CFStringRef multi = CFSTR("one\ntwo\rthree\x7f");
    ASSERT_EQ(noErr, SetControlData(field_, kControlEditTextPart, kControlEditTextCFStringTag,
                                    sizeof multi, &multi));
    EXPECT_EQ("onetwothree", Bytes(field_));
    const char bytes[] = "x\ty";
    SetControlData(field_, kControlEditTextPart, kControlEditTextTextTag, 3, bytes);
    EXPECT_EQ("xy", Bytes(field_));
}

TEST_F(ToolboxEditTextTest, CommandKeysDoNotTypeAndCommandVPastesTheScrap) {
    HalyxPressKey(window_, 'x', cmdKey);
    EXPECT_EQ("hello", Bytes(field_));
    HalyxSetScrapText(" w\u00f6rld\n");
    HalyxPressKey(window_, 'v', cmdKey);
    EXPECT_EQ("hello w\x9Arld", Bytes(field_));  // o-umlaut is 0x9A in the system encoding
    Select(field_, 0, 5);
    EXPECT_EQ(noErr, HalyxSendCommand(window_, kHICommandPaste));
    EXPECT_EQ(" w\x9Arld w\x9Arld", Bytes(field_));
}

TEST_F(ToolboxEditTextTest, KeysGoNowhereWithoutFocusAndAnInactiveFieldLosesIt) {
    ClearKeyboardFocus(window_);
    EXPECT_EQ(eventNotHandledErr, HalyxTypeText(window_, "zz"));
    EXPECT_EQ("hello", Bytes(field_));
    SetKeyboardFocus(window_, field_, kControlEditTextPart);
    DeactivateControl(field_);
    ControlRef focus = field_;
    GetKeyboardFocus(window_, &focus);
    EXPECT_EQ(nullptr, focus);
    HalyxTypeText(window_, "zz");
    EXPECT_EQ("hello", Bytes(field_));
}

TEST_F(ToolboxEditTextTest, AClickFocusesTheFieldAndPlacesTheCaretAtTheCharacter) {
    ClearKeyboardFocus(window_);
    // No font given: size 12, six pixels a character. 20 + 2.5 characters rounds to 3.
    EXPECT_EQ(noErr, HalyxClickPoint(window_, Point{30, 35}, 0));
    ControlRef focus = nullptr;
    GetKeyboardFocus(window_, &focus);
    EXPECT_EQ(field_, focus);
    EXPECT_EQ(3, Selection(field_).selStart);
    HalyxTypeText(window_, "_");
    EXPECT_EQ("hel_lo", Bytes(field_));
    // Shift-click in the focused field selects from the caret to the click; typing replaces it.
    HalyxClickPoint(window_, Point{30, 20}, 0);
    HalyxClickPoint(window_, Point{30, 190}, shiftKey);
    EXPECT_EQ(0, Selection(field_).selStart);
    EXPECT_EQ(6, Selection(field_).selEnd);
    HalyxTypeText(window_, "new");
    EXPECT_EQ("new", Bytes(field_));
    // So does the Select All command.
    EXPECT_EQ(noErr, HalyxSendCommand(window_, kHICommandSelectAll));
    EXPECT_EQ(0, Selection(field_).selStart);
    EXPECT_EQ(3, Selection(field_).selEnd);
}

TEST_F(ToolboxEditTextTest, PasswordFieldsShowBulletsAndKeepTheRealText) {
    ControlRef secret = MakeEdit(60, 20, "pw", true);
    SetKeyboardFocus(window_, secret, kControlEditTextPart);
    HalyxTypeText(window_, "d");
    EXPECT_EQ("pwd", Bytes(secret, kControlEditTextPasswordTag));
    EXPECT_EQ("\xA5\xA5\xA5", Bytes(secret, kControlEditTextTextTag));
    CFStringRef real = nullptr;
    ASSERT_EQ(noErr,
              GetControlData(secret, kControlEditTextPart, kControlEditTextPasswordCFStringTag,
                             sizeof real, &real, nullptr));
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(real, CFSTR("pwd"), 0));
    CFRelease(real);
    CFStringRef shown = nullptr;
    ASSERT_EQ(noErr, GetControlData(secret, kControlEditTextPart, kControlEditTextCFStringTag,
                                    sizeof shown, &shown, nullptr));
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(shown, CFSTR("\u2022\u2022\u2022"), 0));
    CFRelease(shown);
    // A plain field keeps no password.
    Size size = 0;
    EXPECT_EQ(errDataNotSupported, GetControlDataSize(field_, kControlEntireControl,
                                                      kControlEditTextPasswordTag, &size));
}

TEST_F(ToolboxEditTextTest, TaggedDataChecksSizesAndKinds) {
    Size size = 0;
    EXPECT_EQ(noErr, GetControlDataSize(field_, 0, kControlEditTextTextTag, &size));
    EXPECT_EQ(5, size);
    char small[3] = {0, 0, 0};
    Size actual = 0;
    EXPECT_EQ(noErr, GetControlData(field_, 0, kControlEditTextTextTag, 2, small, &actual));
    EXPECT_EQ(std::string("he"), std::string(small, 2));
    EXPECT_EQ(0, small[2]);
    EXPECT_EQ(5, actual);
    ControlEditTextSelectionRec sel;
    EXPECT_EQ(errDataSizeMismatch,
              GetControlData(field_, 0, kControlEditTextSelectionTag, 2, &sel, nullptr));
    EXPECT_EQ(errDataSizeMismatch,
              SetControlData(field_, 0, kControlEditTextSelectionTag, 2, &sel));

    ControlFontStyleRec style = {};
    style.flags = kControlUseFontMask | kControlUseSizeMask;
    style.size = 13;
    ASSERT_EQ(noErr, SetControlData(field_, 0, kControlFontStyleTag, sizeof style, &style));
    ControlFontStyleRec back = {};
    ASSERT_EQ(noErr, GetControlData(field_, 0, kControlFontStyleTag, sizeof back, &back, nullptr));
    EXPECT_EQ(13, back.size);
    EXPECT_EQ(style.flags, back.flags);

    ControlRef pane = MakePane(100, 100, 200, 200);
    EXPECT_EQ(errDataNotSupported, GetControlDataSize(pane, 0, kControlEditTextTextTag, &size));
    EXPECT_EQ(noErr, GetControlDataSize(pane, 0, kControlFontStyleTag, &size));
    EXPECT_EQ(errUnknownControl, GetControlDataSize(reinterpret_cast<ControlRef>(&size), 0,
                                                    kControlFontStyleTag, &size));
}

}  // namespace
