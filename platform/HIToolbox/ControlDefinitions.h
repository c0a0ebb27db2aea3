// The kinds of control the system builds: the user pane, the edit text, the placard and the push
// button (the data browser is in DataBrowser.h), with their data tags and records.
//
// The edit text is a single-line field of Unicode text. Its data:
//   'text' (kControlEditTextTextTag)           the shown text as system-encoded bytes, no NUL;
//                                              a password field shows one bullet (0xA5) per
//                                              character
//   'pass' (kControlEditTextPasswordTag)       a password field's real text, system-encoded bytes
//   'cfst' (kControlEditTextCFStringTag)       the shown text as a CFStringRef; Get hands the
//   caller
//                                              a reference it releases
//   'pwcf' (kControlEditTextPasswordCFStringTag) the real text of a password field as a CFStringRef
//   'sele' (kControlEditTextSelectionTag)      ControlEditTextSelectionRec, in characters
//   'font' (kControlFontStyleTag)              ControlFontStyleRec (every control kind keeps one)
// Setting a text never stores a control character (below 0x20, or 0x7F): they are dropped, so the
// field always holds one line. Setting a text puts the caret at its end.
#ifndef HALYX_PLATFORM_HITOOLBOX_CONTROLDEFINITIONS_H
#define HALYX_PLATFORM_HITOOLBOX_CONTROLDEFINITIONS_H

#include "CoreFoundation/CFString.h"
#include "HIToolbox/Controls.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    kControlEditTextTextTag = HALYX_FOUR_CHAR('t', 'e', 'x', 't'),
    kControlEditTextPasswordTag = HALYX_FOUR_CHAR('p', 'a', 's', 's'),
    kControlEditTextCFStringTag = HALYX_FOUR_CHAR('c', 'f', 's', 't'),
    kControlEditTextPasswordCFStringTag = HALYX_FOUR_CHAR('p', 'w', 'c', 'f'),
    kControlEditTextSelectionTag = HALYX_FOUR_CHAR('s', 'e', 'l', 'e'),
    kControlFontStyleTag = HALYX_FOUR_CHAR('f', 'o', 'n', 't'),
};

// Control definition ids for NewControl.
enum {
    pushButProc = 0,
    kControlPlacardProc = 224,
    kControlUserPaneProc = 256,
    kControlEditUnicodeTextProc = 912,
};

enum { kControlSupportsEmbedding = 1 << 1, kControlSupportsFocus = 1 << 2 };

typedef struct ControlEditTextSelectionRec {
    SInt16 selStart;
    SInt16 selEnd;
} ControlEditTextSelectionRec;

enum {
    kControlUseFontMask = 0x0001,
    kControlUseFaceMask = 0x0002,
    kControlUseSizeMask = 0x0004,
    kControlUseForeColorMask = 0x0008,
    kControlUseBackColorMask = 0x0010,
    kControlUseModeMask = 0x0020,
    kControlUseJustMask = 0x0040,
    kControlUseThemeFontIDMask = 0x0080,
};
// Theme font ids, used as `font` with kControlUseThemeFontIDMask.
enum {
    kControlFontBigSystemFont = -1,
    kControlFontSmallSystemFont = -2,
    kControlFontSmallBoldSystemFont = -3,
    kControlFontViewSystemFont = -4,
};

typedef struct ControlFontStyleRec {
    SInt16 flags;
    SInt16 font;
    SInt16 size;
    SInt16 style;
    SInt16 mode;
    SInt16 just;
    RGBColor foreColor;
    RGBColor backColor;
} ControlFontStyleRec;

// What a control is, for code that shows controls (a screen, a picture) without knowing who made
// them. kHalyxControlUnknown for a pointer that is not a live control.
typedef enum HalyxControlKind {
    kHalyxControlUnknown = 0,
    kHalyxControlUserPane = 1,
    kHalyxControlEditText = 2,
    kHalyxControlPlacard = 3,
    kHalyxControlPushButton = 4,
    kHalyxControlDataBrowser = 5,
} HalyxControlKind;
HalyxControlKind HalyxGetControlKind(ControlRef control);

// Each creation function makes the control visible, active and enabled, embeds it in the window's
// root control and returns noErr; paramErr for an unknown window or a null out pointer;
// memFullErr when memory runs out (*outControl is then NULL).
OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32 features,
                               ControlRef* outControl);
OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                      Boolean isPassword, const ControlFontStyleRec* style,
                                      ControlRef* outControl);
OSStatus CreateEditTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                               Boolean isPassword, Boolean useInlineInput,
                               const ControlFontStyleRec* style, ControlRef* outControl);
OSStatus CreatePlacardControl(WindowRef window, const Rect* bounds, ControlRef* outControl);
OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                 ControlRef* outControl);
// The older creation call, by definition id (the four above); NULL for other ids or on failure.
ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, Boolean visible,
                      SInt16 value, SInt16 minimum, SInt16 maximum, SInt16 procID, SRefCon refCon);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_CONTROLDEFINITIONS_H
