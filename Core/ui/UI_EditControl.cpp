#include "Core/ui/UI_EditControl.h"

#include <string.h>

#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/Quickdraw.h"
#include "Memory/MacMemory.h"

namespace {

constexpr SInt16 kVerticalInset = 8;
constexpr SInt16 kRightInset = 16;
constexpr SInt16 kFieldFontSize = 13;
constexpr SInt16 kEraseOutset = 4;
constexpr char kBullet = static_cast<char>(0xA5);  // the bullet in the system encoding

CFStringRef StringFromSystemBytes(const char* text, long length) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(text),
                                   static_cast<CFIndex>(length), kCFStringEncodingMacRoman, false);
}

}  // namespace

UI_EditControl::UI_EditControl(WindowRef window, ControlRef parent, LinkElement_Dual* item)
    : initialised(false),
      keyHandler(nullptr),
      installedHandler(nullptr),
      control(nullptr),
      parent(parent),
      window(window),
      bounds{0, 0, 0, 0},
      height(0),
      item(item),
      password(false),
      active(false),
      enabled(false),
      useControlFont(false),
      savedText(nullptr),
      mask(nullptr),
      savedString(nullptr) {}

UI_EditControl::UI_EditControl(WindowRef window, ControlRef parent, const Rect& bounds,
                               const char* text, bool visible, bool enabled, bool password,
                               LinkElement_Dual* item)
    : UI_EditControl(window, parent, item) {
    Initialize(bounds, text, visible, enabled, password);
}

UI_EditControl::~UI_EditControl() {
    if (installedHandler != nullptr) RemoveEventHandler(installedHandler);
    if (control != nullptr) DisposeControl(control);
    if (savedText != nullptr) DisposePtr(savedText);
    if (mask != nullptr) DisposePtr(mask);
    if (savedString != nullptr) CFRelease(savedString);
}

OSStatus UI_EditControl::Initialize(const Rect& inBounds, const char* text, bool visible,
                                    bool inEnabled, bool isPassword) {
    if (initialised) return 1;
    Rect fieldBounds = inBounds;
    fieldBounds.top += kVerticalInset;
    fieldBounds.bottom -= kVerticalInset;
    fieldBounds.right -= kRightInset;
    const long textLength = text != nullptr ? static_cast<long>(strlen(text)) : 0;
    CFStringRef initial = textLength > 0 ? StringFromSystemBytes(text, textLength) : nullptr;
    OSStatus status =
        CreateEditTextControl(window, &fieldBounds, initial, isPassword, true, nullptr, &control);
    if (initial != nullptr) CFRelease(initial);
    if (status != noErr || control == nullptr) {
        control = nullptr;
        return status != noErr ? status : memFullErr;
    }
    password = isPassword;
    if (password) {
        savedText = NewPtrClear(kSavedTextSize);
        mask = NewPtrClear(kMaskLength + 1);
        if (savedText == nullptr || mask == nullptr) {
            DisposeControl(control);
            control = nullptr;
            return memFullErr;
        }
        if (textLength > 0) {
            const long kept = textLength < kSavedTextSize ? textLength : kSavedTextSize - 1;
            memcpy(savedText, text, static_cast<size_t>(kept));
        }
        memset(mask, kBullet, kMaskLength);
        RemakeSavedString();
    }
    bounds = fieldBounds;
    if (parent != nullptr) EmbedControl(control, parent);
    SetControlReference(control, this);
    SetControlVisibility(control, visible, false);
    active = true;  // a new control is active
    initialised = true;
    Enable(inEnabled);
    setFontInfo(systemFont, kFieldFontSize, normal);
    return status;
}

void UI_EditControl::SaveRealText() {
    Size size = 0;
    GetControlData(control, kControlEditTextPart, kControlEditTextPasswordTag, kSavedTextSize - 1,
                   savedText, &size);
    if (size > kSavedTextSize - 1) size = kSavedTextSize - 1;
    savedText[size] = '\0';
}

void UI_EditControl::RemakeSavedString() {
    if (savedString != nullptr) CFRelease(savedString);
    savedString = StringFromSystemBytes(savedText, static_cast<long>(strlen(savedText)));
}

void UI_EditControl::SetControlText(const char* text, long length) {
    SetControlData(control, kControlEditTextPart,
                   password ? kControlEditTextPasswordTag : kControlEditTextTextTag, length, text);
}

void UI_EditControl::Activate(bool activate) {
    if (!initialised) return;
    if (activate == active) {
        // A field that could not take the keys while it was hidden takes them once it shows.
        if (activate) SetKeyboardFocus(window, control, kControlEditTextPart);
        return;
    }
    if (activate && !enabled) return;
    if (password) {
        if (!activate) {
            Size size = 0;
            GetControlDataSize(control, kControlEditTextPart, kControlEditTextPasswordTag, &size);
            if (size > 0) {
                SaveRealText();
                SetControlText(mask, kMaskLength);
            } else {
                savedText[0] = '\0';
            }
        } else if (strlen(savedText) > 0) {
            SetControlText(savedText, static_cast<long>(strlen(savedText)));
        } else {
            SetControlText(nullptr, 0);
        }
        RemakeSavedString();
    }
    if (activate) {
        ActivateControl(control);
        SetKeyboardFocus(window, control, kControlEditTextPart);
    } else {
        DeactivateControl(control);
    }
    Draw1Control(control);
    active = activate;
}

void UI_EditControl::Enable(bool enable) {
    enabled = enable;
    if (!enable) Activate(false);
}

long UI_EditControl::getTextLen() const {
    if (!initialised) return 0;
    if (password && !active) return static_cast<long>(strlen(savedText));
    Size size = 0;
    GetControlDataSize(control, kControlEditTextPart,
                       password ? kControlEditTextPasswordTag : kControlEditTextTextTag, &size);
    return static_cast<long>(size);
}

long UI_EditControl::getText(char* buffer, long size) const {
    if (buffer == nullptr || size <= 0) return 0;
    buffer[0] = '\0';
    if (!initialised) return 0;
    long count = 0;
    if (password && !active) {
        count = static_cast<long>(strlen(savedText));
        if (count > size - 1) count = size - 1;
        memcpy(buffer, savedText, static_cast<size_t>(count));
    } else {
        Size actual = 0;
        GetControlData(control, kControlEditTextPart,
                       password ? kControlEditTextPasswordTag : kControlEditTextTextTag, size - 1,
                       buffer, &actual);
        count = actual < size - 1 ? static_cast<long>(actual) : size - 1;
    }
    buffer[count] = '\0';
    return count;
}

long UI_EditControl::getGlyphCount() const {
    if (!initialised) return 0;
    if (password && !active) {
        return savedString != nullptr ? static_cast<long>(CFStringGetLength(savedString)) : 0;
    }
    CFStringRef text = nullptr;
    if (GetControlData(control, kControlEditTextPart,
                       password ? kControlEditTextPasswordCFStringTag : kControlEditTextCFStringTag,
                       sizeof text, &text, nullptr) != noErr ||
        text == nullptr) {
        return 0;
    }
    const long count = static_cast<long>(CFStringGetLength(text));
    CFRelease(text);
    return count;
}

OSStatus UI_EditControl::getEditSelection(SInt16* start, SInt16* end) const {
    if (start != nullptr) *start = 0;
    if (end != nullptr) *end = 0;
    if (!initialised) return errUnknownControl;
    ControlEditTextSelectionRec selection = {0, 0};
    const OSStatus status =
        GetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag,
                       sizeof selection, &selection, nullptr);
    if (start != nullptr) *start = selection.selStart;
    if (end != nullptr) *end = selection.selEnd;
    return status;
}

void UI_EditControl::setText(const char* text) {
    if (!initialised) return;
    const long length = text != nullptr ? static_cast<long>(strlen(text)) : 0;
    if (password && !active) {
        const long kept = length < kSavedTextSize ? length : kSavedTextSize - 1;
        if (kept > 0) memcpy(savedText, text, static_cast<size_t>(kept));
        savedText[kept] = '\0';
        RemakeSavedString();
        SetControlText(kept > 0 ? mask : nullptr, kept > 0 ? kMaskLength : 0);
        return;
    }
    SetControlText(text, length);
}

void UI_EditControl::setFontInfo(SInt16 font, SInt16 size, SInt16 style) {
    if (control == nullptr) return;
    ControlFontStyleRec record;
    memset(&record, 0, sizeof record);
    GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof record, &record,
                   nullptr);
    if (font >= 0) {
        record.font = font;
        record.flags |= kControlUseFontMask;
    }
    if (size >= 0) {
        record.size = size;
        record.flags |= kControlUseSizeMask;
    }
    if (style >= 0) {
        record.style = style;
        record.flags |= kControlUseFaceMask;
    }
    SetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof record, &record);
    useControlFont = true;
    calculateHeight();
}

OSStatus UI_EditControl::getFontInfo(FontInfo* info) const {
    if (control == nullptr || info == nullptr) return errUnknownControl;
    ControlFontStyleRec record;
    memset(&record, 0, sizeof record);
    const OSStatus status = GetControlData(control, kControlEntireControl, kControlFontStyleTag,
                                           sizeof record, &record, nullptr);
    if (status != noErr) return status;
    const SInt16 font =
        (record.flags & kControlUseFontMask) != 0 ? record.font : static_cast<SInt16>(systemFont);
    const SInt16 size = (record.flags & kControlUseSizeMask) != 0 ? record.size : 0;
    HalyxGetFontInfoFor(font, size, info);
    return noErr;
}

void UI_EditControl::calculateHeight() {
    FontInfo info;
    if (getFontInfo(&info) != noErr) return;
    height = info.ascent + info.descent + info.leading;
    if (height % 2 != 0) ++height;
}

void UI_EditControl::erase() {
    if (control == nullptr) return;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(window);
    Rect area = bounds;
    InsetRect(&area, -kEraseOutset, -kEraseOutset);
    EraseRect(&area);
    SetPort(saved);
}

void UI_EditControl::draw() {
    if (control != nullptr) Draw1Control(control);
}

void UI_EditControl::setBoundsRect(const Rect& newBounds) {
    bounds = newBounds;
    if (control != nullptr) SetControlBounds(control, &bounds);
}

void UI_EditControl::Show(bool visible) {
    if (control != nullptr) SetControlVisibility(control, visible, false);
}

OSStatus UI_EditControl::InstallEditControlEventHandler(const EventTypeSpec* kinds, ItemCount count,
                                                        EventHandlerUPP handler, void* userData) {
    if (installedHandler != nullptr || control == nullptr) return noErr;
    keyHandler = handler;
    return InstallControlEventHandler(control, handler, count, kinds, userData, &installedHandler);
}
