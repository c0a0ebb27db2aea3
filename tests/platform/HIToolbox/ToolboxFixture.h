// A window to build controls in, and small helpers shared by the toolkit's tests.
#ifndef HALYX_TESTS_PLATFORM_HITOOLBOX_TOOLBOXFIXTURE_H
#define HALYX_TESTS_PLATFORM_HITOOLBOX_TOOLBOXFIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HIToolbox/HIToolbox.h"
#include "testing/FailureInjection.h"

class ToolboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        HalyxResetBeeps();
        const Rect bounds = {40, 40, 440, 640};
        ASSERT_EQ(noErr,
                  CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window_));
    }

    void TearDown() override {
        DisposeWindow(window_);
        HalyxResetFontInfo();
        HalyxSetScrapText(nullptr);
        HalyxResetFailures();
    }

    ControlRef MakeEdit(SInt16 top, SInt16 left, const char* text, bool password = false) {
        const Rect r = {top, left, static_cast<SInt16>(top + 24), static_cast<SInt16>(left + 200)};
        CFStringRef cf = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
        ControlRef control = nullptr;
        EXPECT_EQ(noErr,
                  CreateEditUnicodeTextControl(window_, &r, cf, password, nullptr, &control));
        CFRelease(cf);
        return control;
    }

    ControlRef MakePane(SInt16 top, SInt16 left, SInt16 bottom, SInt16 right) {
        const Rect r = {top, left, bottom, right};
        ControlRef control = nullptr;
        EXPECT_EQ(noErr, CreateUserPaneControl(window_, &r, kControlSupportsEmbedding, &control));
        return control;
    }

    // The field's text under a byte tag ('text' or 'pass'), as system-encoded bytes.
    static std::string Bytes(ControlRef control, ResType tag = kControlEditTextTextTag) {
        Size size = 0;
        if (GetControlDataSize(control, kControlEntireControl, tag, &size) != noErr)
            return "<none>";
        std::string out(static_cast<size_t>(size), '\0');
        Size actual = 0;
        GetControlData(control, kControlEntireControl, tag, size, size ? &out[0] : nullptr,
                       &actual);
        return out;
    }

    static ControlEditTextSelectionRec Selection(ControlRef control) {
        ControlEditTextSelectionRec sel = {-1, -1};
        GetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag, sizeof sel,
                       &sel, nullptr);
        return sel;
    }

    static void Select(ControlRef control, SInt16 start, SInt16 end) {
        const ControlEditTextSelectionRec sel = {start, end};
        ASSERT_EQ(noErr, SetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag,
                                        sizeof sel, &sel));
    }

    // Every text the window's port recorded, oldest first.
    std::vector<std::string> DrawnTexts() const {
        std::vector<std::string> texts;
        CGrafPtr port = GetWindowPort(window_);
        HalyxDrawing d;
        for (UInt32 i = 0; i < HalyxPortDrawingCount(port); ++i) {
            if (HalyxPortGetDrawing(port, i, &d) && d.kind == kHalyxDrawText) {
                texts.emplace_back(d.text, static_cast<size_t>(d.textLength));
            }
        }
        return texts;
    }

    WindowRef window_ = nullptr;
};

#endif  // HALYX_TESTS_PLATFORM_HITOOLBOX_TOOLBOXFIXTURE_H
