// A print dialog in miniature for the editor's tests: a window holding the pane's user pane and a
// Print button (command 'ok  '), the panel built inside the pane from a parsed PPD, and helpers
// that act on it only as a person would, through the input synthesis.
#ifndef HALYX_TESTS_CORE_UI_EDITORHARNESS_H
#define HALYX_TESTS_CORE_UI_EDITORHARNESS_H

#include <gtest/gtest.h>
#include <stdarg.h>
#include <stdio.h>

#include <string>

#include "Core/ORBJobNoteList.h"
#include "Core/ORBRangeList.h"
#include "Core/PDEBundle.h"
#include "Core/ui/UI_EditControl.h"
#include "Core/ui/UI_EditControlList.h"
#include "Core/ui/UI_JobNotesBrowser.h"
#include "Core/ui/UI_MessageBox.h"
#include "Core/ui/UI_Panel.h"
#include "CoreFoundation/CFBundle.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/HalyxInput.h"
#include "HIToolbox/Sound.h"
#include "tests/Core/EntryTestSupport.h"

namespace editortest {

// The bundle the build assembles gives the editor its messages for the whole test program.
class BundleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const char path[] = HALYX_BINARY_DIR "/HalyxJobNotes.plugin";
        CFURLRef url =
            CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path),
                                                    static_cast<CFIndex>(strlen(path)), true);
        mBundle = CFBundleCreate(nullptr, url);
        CFRelease(url);
        PDEBundle::InitBundle(mBundle);
    }
    void TearDown() override {
        PDEBundle::InitBundle(nullptr);
        if (mBundle != nullptr) CFRelease(mBundle);
    }

private:
    CFBundleRef mBundle = nullptr;
};

// The message the editor should show for `key` with the arguments of `kinds` ('s', 'd').
inline std::string Localized(const char* key, const char* kinds, ...) {
    char format[256];
    if (PDEBundle::GetLocalizedString(key, format, sizeof format, nullptr) <= 0) return key;
    char text[512];
    va_list args;
    va_start(args, kinds);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    (void)kinds;
    return text;
}

inline std::string Titled(const std::string& title, const std::string& reason) {
    return title + ": " + reason;
}

class Dialog {
public:
    explicit Dialog(const std::string& ppdBody, SInt16 paneTop = 0) : mPPD(ppdBody) {
        HalyxResetBeeps();
        mNotes = new ORBJobNoteList(mPPD.Model(), true);
        mRanges = new ORBRangeList(*mPPD.Model());
        const Rect windowBounds = {0, 0, 600, 700};
        CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &windowBounds, &mWindow);
        const Rect paneBounds = {paneTop, 0, static_cast<SInt16>(paneTop + 450), 525};
        CreateUserPaneControl(mWindow, &paneBounds, kControlSupportsEmbedding, &mPane);
        const Rect printBounds = {560, 600, 580, 680};
        CFStringRef title = CFStringCreateWithCString(nullptr, "Print", kCFStringEncodingUTF8);
        CreatePushButtonControl(mWindow, &printBounds, title, &mPrint);
        CFRelease(title);
        SetControlCommandID(mPrint, kHICommandOK);
        mPanel = new UI_Panel(mPane, mNotes, mRanges);
        ShowWindow(mWindow);
    }
    ~Dialog() {
        delete mPanel;
        DisposeWindow(mWindow);
        delete mRanges;
        delete mNotes;
    }

    // What the pane does when it drops its model: the editor first, then the lists.
    void DropLists() {
        mPanel->ResetUI();
        delete mRanges;
        delete mNotes;
        mRanges = nullptr;
        mNotes = nullptr;
    }

    UI_Panel& Panel() { return *mPanel; }
    UI_JobNotesBrowser& Editor() const { return *mPanel->Editor(); }
    WindowRef Window() const { return mWindow; }
    ControlRef Pane() const { return mPane; }
    ControlRef PrintButton() const { return mPrint; }
    ORBJobNoteList* Notes() const { return mNotes; }
    ORBRangeList* Ranges() const { return mRanges; }

    UI_EditControl* Field(UInt16 row) const {
        return static_cast<UI_EditControl*>(mPanel->Editor()->Fields()->index(row));
    }
    // Clicks the field of `row` (0-based), scrolling its row into view first as a person would.
    OSStatus ClickField(UInt16 row) {
        UI_EditControl* field = Field(row);
        Rect cell;
        GetDataBrowserItemPartBounds(Editor().Browser(), reinterpret_cast<DataBrowserItemID>(field),
                                     UI_JobNotesBrowser::kValueColumn, 0, &cell);
        const Rect list = Editor().Bounds();
        if (cell.top < list.top || cell.bottom > list.bottom) {
            HalyxScrollBrowser(Editor().Browser(), cell.top < list.top ? cell.top - list.top
                                                                       : cell.bottom - list.bottom);
        }
        return HalyxClickControl(Field(row)->Control(), 0);
    }
    OSStatus Type(const char* text) { return HalyxTypeText(mWindow, text); }
    OSStatus Key(UniChar c, UInt32 modifiers = 0) { return HalyxPressKey(mWindow, c, modifiers); }
    OSStatus Tab(bool shift = false) { return HalyxPressTab(mWindow, shift); }
    OSStatus SelectAll() { return HalyxSendCommand(mWindow, kHICommandSelectAll); }

    // The real text of a row's field.
    std::string Text(UInt16 row) const {
        char text[512];
        Field(row)->getText(text, sizeof text);
        return text;
    }
    // What the field's control shows.
    std::string Shown(UInt16 row) const {
        char text[512];
        Size size = 0;
        GetControlData(Field(row)->Control(), kControlEditTextPart, kControlEditTextTextTag,
                       sizeof text - 1, text, &size);
        text[size < 0 ? 0 : size] = '\0';
        return text;
    }
    std::string Message() const { return mPanel->MessageArea()->Text(); }
    std::string Title(UInt16 row) const {
        char title[256] = "";
        LinkElement_Dual* entry = Field(row)->Item();
        if (auto* note = dynamic_cast<ORBJobNote*>(entry)) note->getTitle(title);
        if (auto* range = dynamic_cast<ORBRange*>(entry)) range->getTitle(title);
        return title;
    }
    bool HasFocus(UInt16 row) const { return Editor().CurrentField() == Field(row); }

private:
    entrytest::ParsedPPD mPPD;
    ORBJobNoteList* mNotes = nullptr;
    ORBRangeList* mRanges = nullptr;
    WindowRef mWindow = nullptr;
    ControlRef mPane = nullptr;
    ControlRef mPrint = nullptr;
    UI_Panel* mPanel = nullptr;
};

}  // namespace editortest

#endif  // HALYX_TESTS_CORE_UI_EDITORHARNESS_H
