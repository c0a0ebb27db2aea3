// The checks a field's value must pass before the focus may leave it, and writing the fields'
// text into their entries.
#include <string.h>

#include "Core/ORBJobNote.h"
#include "Core/ORBRange.h"
#include "Core/TextHelpers.h"
#include "Core/ui/EditorEntries.h"
#include "Core/ui/EditorMessages.h"
#include "Core/ui/UI_EditControlList.h"
#include "Core/ui/UI_JobNotesBrowser.h"
#include "HIToolbox/Sound.h"
#include "Memory/MacMemory.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"

using halyx_editor::ComposeFixed;
using halyx_editor::ComposeMessage;
using halyx_editor::kEntryTextSize;
using halyx_editor::kMessageSize;

namespace {

constexpr SInt16 kStopBeep = 1;
const char kTitledFormat[] = "%s: %s";
const char kLengthBetweenFormat[] = "This field must contain between %d and %d characters.";
// A range's value is at most a sign and ten digits; anything longer is already wrong.
constexpr long kRangeTextSize = 64;

// Digits, with a minus sign allowed only in front.
bool IsRangeText(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '-' && p == text) continue;
        if (*p < '0' || *p > '9') return false;
    }
    return true;
}

// The field's whole real text in a new block for the caller to dispose; null when memory is short.
char* CopyFieldText(UI_EditControl* field) {
    const long length = field->getTextLen();
    char* text = NewPtr(length + 1);
    if (text == nullptr) return nullptr;
    field->getText(text, length + 1);
    return text;
}

// Whether the note's template can take the field's text (a default or restored text may hold what
// no key could have typed); true when memory is short.
bool TemplateTakesField(const PPDXJobNote* note, UI_EditControl* field) {
    char* text = CopyFieldText(field);
    if (text == nullptr) return true;
    const bool takes = note->TemplateTakes(text);
    DisposePtr(text);
    return takes;
}

}  // namespace

bool UI_JobNotesBrowser::ComposeCheckMessage(UI_EditControl* field, char* message) {
    message[0] = '\0';
    if (!field->IsInitialized()) return true;
    char title[kEntryTextSize];
    halyx_editor::TitleOf(field->Item(), title);
    if (ORBJobNote* entry = halyx_editor::NoteOf(field->Item())) {
        const PPDXJobNote* note = entry->Control();
        if (note == nullptr) return true;
        const long characters = field->getGlyphCount();
        const long bytes = field->getTextLen();
        const int maximum = static_cast<int>(halyx_editor::MaxLengthOf(entry));
        char reason[kMessageSize];
        if (note->IsLengthReq() && characters >= 1 && characters != maximum) {
            ComposeMessage(reason, "FixedLength", "d", maximum);
            ComposeFixed(message, kTitledFormat, "ss", title, reason);
        } else if (bytes > maximum) {
            ComposeMessage(message, "LimitChars", "sd", title, maximum);
        } else if (characters >= 1 && characters < note->MinLength()) {
            ComposeFixed(reason, kLengthBetweenFormat, "dd", static_cast<int>(note->MinLength()),
                         maximum);
            ComposeFixed(message, kTitledFormat, "ss", title, reason);
        } else if (note->IsRequired() && bytes == 0) {
            ComposeMessage(message, "NotBlank", "s", title);
        } else if (!TemplateTakesField(note, field)) {
            ComposeMessage(message, "PostScriptDelimiters", "s", title);
        } else if (note->IsTwoCharFields() && bytes > 0) {
            char* text = CopyFieldText(field);
            const bool formed = text == nullptr || entry->checkRangeValues(text);
            if (text != nullptr) DisposePtr(text);
            if (formed) return true;
            ComposeMessage(message, "BadRange", "s", title);
        } else {
            return true;
        }
        return false;
    }
    if (ORBRange* range = halyx_editor::RangeOf(field->Item())) {
        const PPDXRangeControl* limits = range->Control();
        if (limits == nullptr) return true;
        char text[kRangeTextSize];
        const bool fits = field->getTextLen() < kRangeTextSize;
        field->getText(text, sizeof text);
        SInt32 value = 0;
        if (fits && IsRangeText(text) && string2BoundedNumber(text, &value) &&
            range->acceptableValue(value)) {
            return true;
        }
        ComposeMessage(message, "Range:Bad Range data", "sddd", title,
                       static_cast<int>(limits->MinVal()), static_cast<int>(limits->MaxVal()),
                       static_cast<int>(limits->Increment()));
        return false;
    }
    return true;
}

bool UI_JobNotesBrowser::CheckField(UI_EditControl* field, CheckForm form) {
    if (form != kCheckSilent) ClearMessage();
    char message[kMessageSize];
    if (ComposeCheckMessage(field, message)) return true;
    if (form != kCheckSilent) {
        SysBeep(kStopBeep);
        PostMessage(message);
    }
    return false;
}

OSStatus UI_JobNotesBrowser::UpdateEditControl(UI_EditControl* field) {
    if (field == nullptr || !field->IsInitialized()) return noErr;
    ORBJobNote* note = halyx_editor::NoteOf(field->Item());
    ORBRange* range = halyx_editor::RangeOf(field->Item());
    if (field->getTextLen() == 0) {
        if (note != nullptr && note->Control() != nullptr) note->Control()->SetNotes(nullptr);
        if (range != nullptr && range->Control() != nullptr) {
            // An emptied range takes its default, and the field shows it, so the two agree.
            PPDXRangeControl* limits = range->Control();
            limits->SetValue(limits->DefaultValue());
            char text[kRangeTextSize];
            range->getUserData(text);
            field->setText(text);
        }
        return noErr;
    }
    char* text = CopyFieldText(field);
    if (text == nullptr) return memFullErr;
    if (note != nullptr && note->Control() != nullptr) note->Control()->SetNotes(text);
    if (range != nullptr) range->setUserData(text);
    DisposePtr(text);
    return noErr;
}

bool UI_JobNotesBrowser::SaveSettings() {
    if (editFields == nullptr) return true;
    if (currentField != nullptr) UpdateEditControl(currentField);
    for (LinkElement_Dual* at = editFields->Head(); at != nullptr; at = at->next) {
        UI_EditControl* field = static_cast<UI_EditControl*>(at);
        if (field->getTextLen() > 0) UpdateEditControl(field);
    }
    ::UpdateDataBrowserItems(control, kDataBrowserNoItem, 0, nullptr, kTitleColumn, kTitleColumn);
    return true;
}

void UI_JobNotesBrowser::SetToDefaults() {
    if (editFields == nullptr) return;
    if (currentField != nullptr) currentField->Activate(false);
    for (LinkElement_Dual* at = editFields->Head(); at != nullptr; at = at->next) {
        UI_EditControl* field = static_cast<UI_EditControl*>(at);
        if (ORBJobNote* entry = halyx_editor::NoteOf(field->Item())) {
            PPDXJobNote* note = entry->Control();
            if (note == nullptr) continue;
            entry->SetNotesOn(true);
            note->ResetToDefaultValue();
            field->setText(note->GetDefaultNotes() != nullptr ? note->GetDefaultNotes() : "");
        } else if (ORBRange* range = halyx_editor::RangeOf(field->Item())) {
            if (range->Control() == nullptr) continue;
            range->Control()->ResetToDefaultValue();
            char text[kRangeTextSize];
            range->getUserData(text);
            field->setText(text);
        }
    }
    ::UpdateDataBrowserItems(control, kDataBrowserNoItem, 0, nullptr, kTitleColumn, kTitleColumn);
}
