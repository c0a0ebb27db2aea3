// Input synthesis, and the default behaviour that runs when no handler takes an event.
#include "HIToolbox/HalyxInput.h"

#include <vector>

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/WindowObject.h"

namespace {

using halyx_toolbox::ControlKind;

std::vector<UniChar> gScrap;

UniChar TypedCharacter(EventRef event) {
    UniChar c = 0;
    ByteCount size = 0;
    if (GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, sizeof c,
                          &size, &c) != noErr ||
        size < sizeof c) {
        return 0;
    }
    return c;
}

UInt32 TypedModifiers(EventRef event) {
    EventRef keyEvent = nullptr;
    UInt32 modifiers = GetCurrentKeyModifiers();
    if (GetEventParameter(event, kEventParamTextInputSendKeyboardEvent, typeEventRef, nullptr,
                          sizeof keyEvent, nullptr, &keyEvent) == noErr) {
        GetEventParameter(keyEvent, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof modifiers,
                          nullptr, &modifiers);
    }
    return modifiers;
}

bool IsEvent(EventRef event, UInt32 eventClass, UInt32 eventKind) {
    return GetEventClass(event) == eventClass && GetEventKind(event) == eventKind;
}

UInt32 CommandOf(EventRef event) {
    HICommandExtended command = {};
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) != noErr) {
        return 0;
    }
    return command.commandID;
}

OSStatus SendCommand(EventTargetRef target, UInt32 commandID, ControlRef source) {
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, 0, 0, &event);
    if (status != noErr) return status;
    HICommandExtended command = {};
    command.commandID = commandID;
    if (source != nullptr) {
        command.attributes = kHICommandFromControl;
        command.source.control = source;
    }
    SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof command, &command);
    status = SendEventToEventTarget(event, target);
    ReleaseEvent(event);
    return status;
}

EventTargetRef FocusTarget(WindowRef window) {
    return window->focus != nullptr ? &window->focus->target : &window->target;
}

// What a click on a control does when no handler took it (the window's own tracking).
OSStatus TrackClick(ControlRef control, Point where) {
    if (!halyx_toolbox::IsLiveControl(control)) return eventNotHandledErr;
    switch (control->kind) {
        case ControlKind::kEditText: {
            if (!halyx_toolbox::CanTakeFocus(control)) return eventNotHandledErr;
            // Shift extends the selection of the field that already has the keys.
            const bool extend =
                (GetCurrentKeyModifiers() & shiftKey) != 0 && control->window->focus == control;
            SetKeyboardFocus(control->window, control, kControlEditTextPart);
            halyx_toolbox::EditTextClick(control, where, extend);
            return noErr;
        }
        case ControlKind::kPushButton:
            if (!control->active || !control->Enabled()) return eventNotHandledErr;
            if (control->commandID != 0) SendCommand(&control->target, control->commandID, control);
            return noErr;
        case ControlKind::kDataBrowser:
            halyx_toolbox::BrowserClick(control, where);
            return noErr;
        default:
            return eventNotHandledErr;
    }
}

OSStatus WindowDefault(WindowRef window, EventRef event) {
    if (IsEvent(event, kEventClassTextInput, kEventTextInputUnicodeForKeyEvent)) {
        const UniChar c = TypedCharacter(event);
        const UInt32 modifiers = TypedModifiers(event);
        if (c == 9) {
            return (modifiers & shiftKey) != 0 ? ReverseKeyboardFocus(window)
                                               : AdvanceKeyboardFocus(window);
        }
        if ((modifiers & cmdKey) != 0 && (c == 'v' || c == 'V')) {
            return SendCommand(FocusTarget(window), kHICommandPaste, nullptr);
        }
        return eventNotHandledErr;
    }
    if (IsEvent(event, kEventClassControl, kEventControlClick)) {
        ControlRef control = nullptr;
        Point where = {0, 0};
        GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                          nullptr, &control);
        GetEventParameter(event, kEventParamMouseLocation, typeQDPoint, nullptr, sizeof where,
                          nullptr, &where);
        if (!halyx_toolbox::IsLiveControl(control) || control->window != window) {
            return eventNotHandledErr;
        }
        return TrackClick(control, where);
    }
    return eventNotHandledErr;
}

OSStatus ControlDefault(ControlRef control, EventRef event) {
    if (control->kind != ControlKind::kEditText) return eventNotHandledErr;
    if (IsEvent(event, kEventClassTextInput, kEventTextInputUnicodeForKeyEvent)) {
        if (!halyx_toolbox::CanTakeFocus(control)) return eventNotHandledErr;
        return halyx_toolbox::EditTextKey(control, TypedCharacter(event), TypedModifiers(event));
    }
    if (IsEvent(event, kEventClassCommand, kEventCommandProcess)) {
        switch (CommandOf(event)) {
            case kHICommandPaste:
                halyx_toolbox::ReplaceSelection(control, gScrap);
                return noErr;
            case kHICommandSelectAll: {
                const ControlEditTextSelectionRec all = {0, -1};
                return SetControlData(control, kControlEditTextPart, kControlEditTextSelectionTag,
                                      sizeof all, &all);
            }
            default:
                break;
        }
    }
    return eventNotHandledErr;
}

OSStatus Click(ControlRef control, Point where, UInt32 modifiers) {
    WindowRef window = control->window;
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassControl, kEventControlClick, 0, 0, &event);
    if (status != noErr) return status;
    const ControlPartCode part = control->kind == ControlKind::kEditText     ? kControlEditTextPart
                                 : control->kind == ControlKind::kPushButton ? kControlButtonPart
                                                                             : kControlNoPart;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof control, &control);
    SetEventParameter(event, kEventParamMouseLocation, typeQDPoint, sizeof where, &where);
    SetEventParameter(event, kEventParamKeyModifiers, typeUInt32, sizeof modifiers, &modifiers);
    SetEventParameter(event, kEventParamControlPart, typeControlPartCode, sizeof part, &part);
    halyx_toolbox::SetCurrentKeyModifiers(modifiers);
    status = SendEventToEventTarget(event, &control->target);
    halyx_toolbox::SetCurrentKeyModifiers(0);
    ReleaseEvent(event);
    HalyxDrawWindow(window);
    return status;
}

ControlRef DeepestAt(ControlRef control, Point where) {
    if (!control->visible || !PtInRect(where, &control->bounds)) return nullptr;
    for (auto it = control->children.rbegin(); it != control->children.rend(); ++it) {
        ControlRef hit = DeepestAt(*it, where);
        if (hit != nullptr) return hit;
    }
    return control;
}

ControlRef FindCommand(ControlRef control, UInt32 commandID) {
    if (control->commandID == commandID) return control;
    for (ControlRef child : control->children) {
        ControlRef found = FindCommand(child, commandID);
        if (found != nullptr) return found;
    }
    return nullptr;
}

}  // namespace

namespace halyx_toolbox {

OSStatus RunTargetDefault(EventTargetRef target, EventRef event) {
    switch (target->kind) {
        case OpaqueEventTargetRef::kControl:
            return ControlDefault(target->control, event);
        case OpaqueEventTargetRef::kWindow:
            return WindowDefault(target->window, event);
        default:
            return eventNotHandledErr;
    }
}

}  // namespace halyx_toolbox

OSStatus HalyxPressKey(WindowRef window, UniChar charCode, UInt32 modifiers) {
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    EventRef raw = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassKeyboard, kEventRawKeyDown, 0, 0, &raw);
    if (status != noErr) return status;
    const std::string macChar = halyx_toolbox::SystemBytesFromCharacters({charCode});
    const char macCode = macChar.empty() ? '?' : macChar[0];
    SetEventParameter(raw, kEventParamKeyModifiers, typeUInt32, sizeof modifiers, &modifiers);
    SetEventParameter(raw, kEventParamKeyMacCharCodes, typeChar, 1, &macCode);
    SetEventParameter(raw, kEventParamKeyUnicodes, typeUnicodeText, sizeof charCode, &charCode);
    halyx_toolbox::SetCurrentKeyModifiers(modifiers);
    status = SendEventToEventTarget(raw, FocusTarget(window));
    if (status == eventNotHandledErr && halyx_toolbox::IsLiveWindow(window)) {
        EventRef text = nullptr;
        status = CreateEvent(nullptr, kEventClassTextInput, kEventTextInputUnicodeForKeyEvent, 0, 0,
                             &text);
        if (status == noErr) {
            SetEventParameter(text, kEventParamTextInputSendText, typeUnicodeText, sizeof charCode,
                              &charCode);
            SetEventParameter(text, kEventParamTextInputSendKeyboardEvent, typeEventRef, sizeof raw,
                              &raw);
            status = SendEventToEventTarget(text, FocusTarget(window));
            ReleaseEvent(text);
        }
    }
    halyx_toolbox::SetCurrentKeyModifiers(0);
    ReleaseEvent(raw);
    HalyxDrawWindow(window);
    return status;
}

OSStatus HalyxPressTab(WindowRef window, Boolean shift) {
    return HalyxPressKey(window, 9, shift ? shiftKey : 0);
}

OSStatus HalyxTypeText(WindowRef window, const char* text) {
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    OSStatus status = noErr;
    for (UniChar c : halyx_toolbox::CharactersFromUTF8(text)) {
        status = HalyxPressKey(window, c, 0);
        if (status != noErr && status != eventNotHandledErr) break;
    }
    return status;
}

OSStatus HalyxClickPoint(WindowRef window, Point where, UInt32 modifiers) {
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    ControlRef hit = window->root != nullptr ? DeepestAt(window->root, where) : nullptr;
    if (hit == nullptr || hit == window->root) {
        HalyxDrawWindow(window);
        return eventNotHandledErr;
    }
    return Click(hit, where, modifiers);
}

OSStatus HalyxClickControl(ControlRef control, UInt32 modifiers) {
    if (!halyx_toolbox::IsLiveControl(control)) return errUnknownControl;
    if (!halyx_toolbox::IsShown(control)) {  // nobody can click what is not there
        HalyxDrawWindow(control->window);
        return eventNotHandledErr;
    }
    const Point centre = {static_cast<SInt16>((control->bounds.top + control->bounds.bottom) / 2),
                          static_cast<SInt16>((control->bounds.left + control->bounds.right) / 2)};
    return Click(control, centre, modifiers);
}

OSStatus HalyxSendCommand(WindowRef window, UInt32 commandID) {
    if (!halyx_toolbox::IsLiveWindow(window)) return errInvalidWindowRef;
    ControlRef source =
        window->root != nullptr && commandID != 0 ? FindCommand(window->root, commandID) : nullptr;
    const OSStatus status = SendCommand(FocusTarget(window), commandID, source);
    HalyxDrawWindow(window);
    return status;
}

OSStatus HalyxScrollBrowser(ControlRef browser, SInt32 deltaV) {
    UInt32 top = 0, left = 0;
    OSStatus status = GetDataBrowserScrollPosition(browser, &top, &left);
    if (status != noErr) return status;
    const long wanted = static_cast<long>(top) + deltaV;
    status =
        SetDataBrowserScrollPosition(browser, static_cast<UInt32>(wanted < 0 ? 0 : wanted), left);
    HalyxDrawWindow(browser->window);
    return status;
}

void HalyxSetScrapText(const char* text) {
    gScrap = halyx_toolbox::CharactersFromUTF8(text);
}
