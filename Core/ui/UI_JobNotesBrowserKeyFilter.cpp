// The editor's key filter: every character typed into a field is checked against the job note's
// flags or the range's rules before the field may take it; a refusal beeps and says why.
#include "Core/ORBJobNote.h"
#include "Core/ORBRange.h"
#include "Core/ui/EditorEntries.h"
#include "Core/ui/EditorMessages.h"
#include "Core/ui/UI_EditControlList.h"
#include "Core/ui/UI_JobNotesBrowser.h"
#include "CoreFoundation/CFString.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/Sound.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"

using halyx_editor::ComposeMessage;
using halyx_editor::kEntryTextSize;
using halyx_editor::kMessageSize;

namespace {

constexpr SInt16 kKeyBeep = 5;
constexpr SInt16 kPasteBeep = 1;

bool IsLetter(UniChar c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(UniChar c) {
    return c >= '0' && c <= '9';
}

// Enter, return, escape and the four arrows move or end editing and are never refused.
bool IsEditingKey(UniChar c) {
    return c == 3 || c == 13 || c == 27 || c == 28 || c == 29 || c == 30 || c == 31 || c == 8;
}

// Whether the job's text, which is in the system encoding, has a code for `c`.
bool JobTextCarries(UniChar c) {
    if (c < 0x80) return true;
    CFStringRef text = CFStringCreateWithCharacters(nullptr, &c, 1);
    if (text == nullptr) return false;
    UInt8 byte = 0;
    CFIndex used = 0;
    const CFIndex converted = CFStringGetBytes(text, CFRangeMake(0, 1), CFStringGetSystemEncoding(),
                                               0, false, &byte, sizeof byte, &used);
    CFRelease(text);
    return converted == 1 && used == 1;
}

bool HasSelection(UI_EditControl* field) {
    SInt16 start = 0, end = 0;
    field->getEditSelection(&start, &end);
    return end > start;
}

UInt32 CommandOf(EventRef event) {
    HICommandExtended command = {};
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) != noErr) {
        return 0;
    }
    return command.commandID;
}

}  // namespace

OSStatus UI_JobNotesBrowser::KeyFilterHandler(EventHandlerCallRef, EventRef event, void* userData) {
    UI_JobNotesBrowser* self = static_cast<UI_JobNotesBrowser*>(userData);
    if (GetEventClass(event) == kEventClassCommand) {
        if (CommandOf(event) != kHICommandPaste) return eventNotHandledErr;
        SysBeep(kPasteBeep);
        return noErr;
    }
    if (GetEventClass(event) != kEventClassTextInput ||
        GetEventKind(event) != kEventTextInputUnicodeForKeyEvent) {
        return eventNotHandledErr;
    }
    UniChar c = 0;
    ByteCount size = 0;
    if (GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, sizeof c,
                          &size, &c) != noErr ||
        size < sizeof c) {
        return eventNotHandledErr;
    }
    return self->FilterKey(c, GetCurrentKeyModifiers());
}

OSStatus UI_JobNotesBrowser::FilterKey(UniChar c, UInt32 modifiers) {
    UI_EditControl* field = currentField;
    if (field == nullptr) return eventNotHandledErr;
    invalidKey = false;
    // Keys reach only the field that holds the keyboard focus; one that is not the current field
    // was never checked in, so it takes nothing.
    ControlRef focus = nullptr;
    GetKeyboardFocus(window, &focus);
    if (!field->IsInitialized() || focus != field->Control()) return noErr;
    const long count = field->getGlyphCount();
    ClearMessage();
    if (c == 9) {
        Tab((modifiers & shiftKey) != 0);
        return noErr;
    }
    if (c == 'v' && (modifiers & cmdKey) != 0) {
        SysBeep(kKeyBeep);
        return noErr;
    }
    if (IsEditingKey(c)) return eventNotHandledErr;

    char message[kMessageSize];
    message[0] = '\0';
    ORBJobNote* note = halyx_editor::NoteOf(field->Item());
    ORBRange* range = halyx_editor::RangeOf(field->Item());
    if (note != nullptr && note->Control() != nullptr) {
        const char typed[2] = {static_cast<char>(c < 0x80 ? c : 0), '\0'};
        char title[kEntryTextSize];
        halyx_editor::TitleOf(note, title);
        if (!JobTextCarries(c)) {
            ComposeMessage(message, "NotCarried", "s", title);
        } else if (!note->Control()->TemplateTakes(typed)) {
            ComposeMessage(message, "PostScriptDelimiters", "s", title);
        } else if (JobNoteAccepts(note, field, c)) {
            return eventNotHandledErr;
        } else {
            JobNoteRefusal(note, c, count, message);
        }
    } else if (range != nullptr && range->Control() != nullptr) {
        if (RangeAccepts(range, field, c)) return eventNotHandledErr;
        RangeRefusal(range, c, message);
    } else {
        return eventNotHandledErr;
    }
    if (message[0] != '\0') PostMessage(message);
    SysBeep(kKeyBeep);
    return noErr;
}

bool UI_JobNotesBrowser::JobNoteAccepts(const ORBJobNote* entry, UI_EditControl* field, UniChar c) {
    const PPDXJobNote* note = entry->Control();
    if (!HasSelection(field) && field->getGlyphCount() >= halyx_editor::MaxLengthOf(entry)) {
        return false;
    }
    bool accepted;
    if (note->IsLCD()) {
        accepted =
            IsDigit(c) || IsLetter(c) || c == ' ' || c == ',' || c == '-' || c == '.' || c == '_';
    } else if (note->IsAnyText()) {
        return true;
    } else {
        accepted = (note->IsMultiComma() && c == ',' && !note->IsDecimal()) ||
                   (note->IsMultiSpace() && c == ' ' && !note->IsDecimal()) ||
                   (note->IsHyphen() && c == '-') || (note->IsNumeric() && IsDigit(c)) ||
                   (note->IsAlpha() && IsLetter(c)) || (note->IsNegative() && c == '-') ||
                   (note->IsSpace() && c == ' ') ||
                   (note->IsDecimal() && (IsDigit(c) || c == ',' || c == '.'));
    }
    if (!accepted) invalidKey = true;
    return accepted;
}

void UI_JobNotesBrowser::JobNoteRefusal(const ORBJobNote* entry, UniChar c, long count,
                                        char* message) {
    const PPDXJobNote* note = entry->Control();
    char title[kEntryTextSize];
    halyx_editor::TitleOf(entry, title);
    const int maximum = static_cast<int>(halyx_editor::MaxLengthOf(entry));
    if (invalidKey) {
        if (note->IsLCD() || note->IsDecimal() || (note->IsAlpha() && note->IsNumeric())) {
            ComposeMessage(message, "KeyNotValid", "s", title);
        } else if (note->IsNumeric() && !IsDigit(c)) {
            ComposeMessage(message, "NumbersOnly", "s", title);
        } else if (note->IsAlpha() && !IsLetter(c)) {
            ComposeMessage(message, "AlphaOnly", "s", title);
        }
        invalidKey = false;
    }
    const bool hasMessage = message[0] != '\0';
    if (!note->IsLengthReq()) {
        if (count < maximum || maximum == 0) return;
        if (hasMessage) {
            ComposeMessage(message, "MaxChars", "d", maximum);
        } else {
            ComposeMessage(message, "LimitChars", "sd", title, maximum);
        }
    } else if (hasMessage) {
        ComposeMessage(message, "FixedLength", "d", maximum);
    } else {
        ComposeMessage(message, "MaxCharsLimit", "sd", title, maximum);
    }
}

bool UI_JobNotesBrowser::RangeAccepts(const ORBRange* range, UI_EditControl* field, UniChar c) {
    if (field->getGlyphCount() >= kRangeFieldLimit && !HasSelection(field)) return false;
    if (IsDigit(c)) return true;
    return c == '-' && range->Control()->MinVal() < 0;
}

void UI_JobNotesBrowser::RangeRefusal(const ORBRange* range, UniChar c, char* message) {
    if (IsDigit(c)) {
        ComposeMessage(message, "MaxChars", "d", static_cast<int>(kRangeFieldLimit));
        return;
    }
    char title[kEntryTextSize];
    halyx_editor::TitleOf(range, title);
    ComposeMessage(message, "NumbersOnly", "s", title);
}
