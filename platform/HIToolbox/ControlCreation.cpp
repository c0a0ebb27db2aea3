// Making the control kinds.
#include "HIToolbox/ControlObject.h"
#include "HIToolbox/WindowObject.h"

namespace {

using halyx_toolbox::ControlKind;

OSStatus Make(WindowRef window, const Rect* bounds, ControlKind kind, ControlRef* outControl) {
    if (outControl != nullptr) *outControl = nullptr;
    if (!halyx_toolbox::IsLiveWindow(window) || bounds == nullptr || outControl == nullptr) {
        return paramErr;
    }
    ControlRef control = halyx_toolbox::MakeControl(window, kind, *bounds);
    if (control == nullptr) return memFullErr;
    *outControl = control;
    return noErr;
}

}  // namespace

OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32 /*features*/,
                               ControlRef* outControl) {
    return Make(window, bounds, ControlKind::kUserPane, outControl);
}

OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                      Boolean isPassword, const ControlFontStyleRec* style,
                                      ControlRef* outControl) {
    const OSStatus status = Make(window, bounds, ControlKind::kEditText, outControl);
    if (status != noErr) return status;
    ControlRef control = *outControl;
    control->password = isPassword != 0;
    if (style != nullptr) control->fontStyle = *style;
    halyx_toolbox::SetEditText(control, halyx_toolbox::CharactersFromString(text));
    return noErr;
}

OSStatus CreateEditTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                               Boolean isPassword, Boolean /*useInlineInput*/,
                               const ControlFontStyleRec* style, ControlRef* outControl) {
    return CreateEditUnicodeTextControl(window, bounds, text, isPassword, style, outControl);
}

OSStatus CreatePlacardControl(WindowRef window, const Rect* bounds, ControlRef* outControl) {
    return Make(window, bounds, ControlKind::kPlacard, outControl);
}

OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                 ControlRef* outControl) {
    const OSStatus status = Make(window, bounds, ControlKind::kPushButton, outControl);
    if (status == noErr) (*outControl)->text = halyx_toolbox::CharactersFromString(title);
    return status;
}

ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, Boolean visible,
                      SInt16 value, SInt16 minimum, SInt16 maximum, SInt16 procID, SRefCon refCon) {
    ControlKind kind;
    switch (procID) {
        case pushButProc:
            kind = ControlKind::kPushButton;
            break;
        case kControlPlacardProc:
            kind = ControlKind::kPlacard;
            break;
        case kControlUserPaneProc:
            kind = ControlKind::kUserPane;
            break;
        case kControlEditUnicodeTextProc:
            kind = ControlKind::kEditText;
            break;
        default:
            return nullptr;
    }
    ControlRef control = nullptr;
    if (Make(window, bounds, kind, &control) != noErr) return nullptr;
    control->visible = visible != 0;
    control->minimum = minimum;
    control->maximum = maximum < minimum ? minimum : maximum;
    control->value = value < control->minimum   ? control->minimum
                     : value > control->maximum ? control->maximum
                                                : value;
    control->reference = refCon;
    if (title != nullptr && kind == ControlKind::kPushButton) {
        control->text = halyx_toolbox::CharactersFromSystemBytes(title + 1, title[0]);
    }
    return control;
}

HalyxControlKind HalyxGetControlKind(ControlRef control) {
    if (!halyx_toolbox::IsLiveControl(control)) return kHalyxControlUnknown;
    switch (control->kind) {
        case ControlKind::kUserPane:
            return kHalyxControlUserPane;
        case ControlKind::kEditText:
            return kHalyxControlEditText;
        case ControlKind::kPlacard:
            return kHalyxControlPlacard;
        case ControlKind::kPushButton:
            return kHalyxControlPushButton;
        case ControlKind::kDataBrowser:
            return kHalyxControlDataBrowser;
    }
    return kHalyxControlUnknown;
}
