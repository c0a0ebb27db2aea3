// Where the keys go: moving the focus between fields, Tab and Shift-Tab, and the clicks on the list
// and elsewhere in the dialog, none of which may leave a field whose value breaks its rules.
#include "Core/ORBJobNote.h"
#include "Core/ui/EditorEntries.h"
#include "Core/ui/UI_EditControlList.h"
#include "Core/ui/UI_JobNotesBrowser.h"
#include "PPDObjects/Controls/PPDXJobNote.h"

namespace {

// Lets the event go on when `proceed`, else takes it.
OSStatus GoOnWhen(bool proceed) {
    return proceed ? static_cast<OSStatus>(eventNotHandledErr) : static_cast<OSStatus>(noErr);
}

const UInt32 kShowWindowCommand = HALYX_FOUR_CHAR('s', 'w', 'i', 'n');

}  // namespace

bool UI_JobNotesBrowser::setCurrentEditControl(UI_EditControl* target, bool checkOnly) {
    if (currentField != nullptr && target != currentField) {
        if (!CheckField(currentField, kCheckReporting)) return false;
    }
    if (checkOnly) return true;
    if (currentField != nullptr && currentField != target) {
        currentField->Activate(false);
        UpdateEditControl(currentField);
    }
    currentField = target;
    if (target == nullptr) return true;
    if (!target->IsEnabled()) return false;
    target->Activate(true);
    return true;
}

// Scrolls the least that shows the whole row; a row cut by the list's edge counts as hidden, since
// its field is not offered there.
void UI_JobNotesBrowser::RevealRow(UI_EditControl* field) {
    RevealDataBrowserItem(control, reinterpret_cast<DataBrowserItemID>(field), kTitleColumn,
                          kDataBrowserRevealWithoutSelecting);
}

void UI_JobNotesBrowser::Tab(bool backward) {
    if (currentField == nullptr || editFields == nullptr) return;
    if (!editFields->Contains(currentField)) {
        UI_EditControl* first = editFields->First();
        if (first == nullptr) return;
        RevealRow(first);
        setCurrentEditControl(first, false);
        return;
    }
    LinkElement_Dual* next = backward ? currentField->prev : currentField->next;
    if (next == nullptr) next = backward ? editFields->Tail() : editFields->Head();
    UI_EditControl* target = static_cast<UI_EditControl*>(next);

    // A required note left empty, or a two-digit field out of form, keeps the keys without a word.
    if (ORBJobNote* entry = halyx_editor::NoteOf(currentField->Item())) {
        const PPDXJobNote* note = entry->Control();
        if (note != nullptr && currentField->IsInitialized()) {
            char text[UI_EditControl::kSavedTextSize];
            const long length = currentField->getText(text, sizeof text);
            if (note->IsRequired() && currentField->getTextLen() == 0) return;
            if (note->IsTwoCharFields() && length > 0 && !entry->checkRangeValues(text)) return;
        }
    }
    // A refused move has beeped and said why.
    if (!setCurrentEditControl(target, true)) return;
    RevealRow(target);
    setCurrentEditControl(target, false);
}

UI_EditControl* UI_JobNotesBrowser::FieldForControl(ControlRef clicked) const {
    if (editFields == nullptr || clicked == nullptr) return nullptr;
    for (LinkElement_Dual* at = editFields->Head(); at != nullptr; at = at->next) {
        UI_EditControl* field = static_cast<UI_EditControl*>(at);
        if (field->Control() == clicked) return field;
    }
    return nullptr;
}

OSStatus UI_JobNotesBrowser::BrowserClickHandler(EventHandlerCallRef, EventRef event,
                                                 void* userData) {
    if (GetEventClass(event) != kEventClassControl || GetEventKind(event) != kEventControlClick) {
        return eventNotHandledErr;
    }
    ControlRef clicked = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof clicked,
                      nullptr, &clicked);
    return static_cast<UI_JobNotesBrowser*>(userData)->ListClick(clicked);
}

OSStatus UI_JobNotesBrowser::ListClick(ControlRef clicked) {
    ClearMessage();
    if (clicked != control) {
        UI_EditControl* field = FieldForControl(clicked);
        if (field == nullptr || field == currentField) return eventNotHandledErr;
        return GoOnWhen(setCurrentEditControl(field, false));
    }
    if (currentField != nullptr && !CheckField(currentField, kCheckSilent)) {
        return eventNotHandledErr;
    }
    return GoOnWhen(setCurrentEditControl(nullptr, false));
}

OSStatus UI_JobNotesBrowser::WindowHandler(EventHandlerCallRef, EventRef event, void* userData) {
    return static_cast<UI_JobNotesBrowser*>(userData)->WindowEvent(event);
}

OSStatus UI_JobNotesBrowser::WindowEvent(EventRef event) {
    ControlRef named = nullptr;
    if (GetEventClass(event) == kEventClassControl && GetEventKind(event) == kEventControlClick) {
        GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof named,
                          nullptr, &named);
    } else if (GetEventClass(event) == kEventClassCommand &&
               GetEventKind(event) == kEventCommandProcess) {
        HICommandExtended command = {};
        if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                              sizeof command, nullptr, &command) != noErr) {
            return eventNotHandledErr;
        }
        if (command.commandID != kHICommandOK && command.commandID != kShowWindowCommand) {
            return eventNotHandledErr;
        }
        if ((command.attributes & kHICommandFromControl) != 0) named = command.source.control;
    }
    if (named == nullptr || control == nullptr || !IsControlVisible(control)) {
        return eventNotHandledErr;
    }
    UInt32 commandID = 0;
    GetControlCommandID(named, &commandID);
    if (commandID == kHICommandCancel) return eventNotHandledErr;
    if (currentField == nullptr || named == currentField->Control()) return eventNotHandledErr;
    return GoOnWhen(CheckField(currentField, kCheckEntry));
}
