// The plain functions over the control collection, the shortcuts, the groups and the pages.
#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/HalyxPPDModel.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"
#include "PPDObjects/PPDXProperties.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "PPDObjects/PPDXShortcuts.h"

extern "C" {

UInt32 GetControlCount(PPDXControls* controls) {
    return controls != nullptr ? controls->ControlCount() : 0;
}

UInt32 GetPopupCount(PPDXControls* controls) {
    return controls != nullptr ? controls->PopupCount() : 0;
}

UInt32 GetBooleanCount(PPDXControls* controls) {
    return controls != nullptr ? controls->BooleanCount() : 0;
}

UInt32 GetRangeCount(PPDXControls* controls) {
    return controls != nullptr ? controls->RangeCount() : 0;
}

UInt32 GetJobnoteCount(PPDXControls* controls) {
    return controls != nullptr ? controls->JobNoteCount() : 0;
}

PPDXControl* Find(PPDXControls* controls, const char* keyword, CNTL_TYPE* type, bool exact) {
    return controls != nullptr ? controls->Find(keyword, type, exact) : nullptr;
}

PPDXControl* GetFirst(PPDXControls* controls, CNTL_TYPE* type) {
    return controls != nullptr ? controls->First(type) : nullptr;
}

PPDXControl* GetNext(PPDXControls* controls, CNTL_TYPE* type) {
    return controls != nullptr ? controls->Next(type) : nullptr;
}

PPDXPopupControl* GetFirstPopupControl(PPDXControls* controls) {
    return controls != nullptr ? controls->FirstPopupControl() : nullptr;
}

PPDXPopupControl* GetNextPopupControl(PPDXControls* controls) {
    return controls != nullptr ? controls->NextPopupControl() : nullptr;
}

PPDXBooleanControl* GetFirstBooleanControl(PPDXControls* controls) {
    return controls != nullptr ? controls->FirstBooleanControl() : nullptr;
}

PPDXBooleanControl* GetNextBooleanControl(PPDXControls* controls) {
    return controls != nullptr ? controls->NextBooleanControl() : nullptr;
}

PPDXRangeControl* GetFirstRangeControl(PPDXControls* controls) {
    return controls != nullptr ? controls->FirstRangeControl() : nullptr;
}

PPDXRangeControl* GetNextRangeControl(PPDXControls* controls) {
    return controls != nullptr ? controls->NextRangeControl() : nullptr;
}

PPDXJobNote* GetFirstJobNote(PPDXControls* controls) {
    return controls != nullptr ? controls->FirstJobNote() : nullptr;
}

PPDXJobNote* GetNextJobNote(PPDXControls* controls) {
    return controls != nullptr ? controls->NextJobNote() : nullptr;
}

PPDXPopupControl* GetFindPopup(PPDXControls* controls, const char* keyword, bool exact) {
    return controls != nullptr ? controls->FindPopup(keyword, exact) : nullptr;
}

PPDXBooleanControl* GetFindBoolean(PPDXControls* controls, const char* keyword, bool exact) {
    return controls != nullptr ? controls->FindBoolean(keyword, exact) : nullptr;
}

PPDXRangeControl* GetFindRangeControl(PPDXControls* controls, const char* keyword, bool exact) {
    return controls != nullptr ? controls->FindRangeControl(keyword, exact) : nullptr;
}

PPDXJobNote* GetFindJobNote(PPDXControls* controls, const char* keyword, bool exact) {
    return controls != nullptr ? controls->FindJobNote(keyword, exact) : nullptr;
}

bool GetEmpty(PPDXControls* controls) {
    return controls == nullptr || controls->Empty();
}

bool GetNoPopups(PPDXControls* controls) {
    return controls == nullptr || controls->NoPopups();
}

bool GetNoBooleanControls(PPDXControls* controls) {
    return controls == nullptr || controls->NoBooleanControls();
}

bool GetNoRangeControls(PPDXControls* controls) {
    return controls == nullptr || controls->NoRangeControls();
}

bool GetNoJobNotes(PPDXControls* controls) {
    return controls == nullptr || controls->NoJobNotes();
}

bool IsShortcutsListEmpty(PPDXShortcuts* shortcuts) {
    return shortcuts == nullptr || shortcuts->Empty();
}

UInt32 GetShortcutCount(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->Count() : 0;
}

PPDXPopupControl* GetPageSizeShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->PageSize() : nullptr;
}

PPDXPopupControl* GetInputSlotShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->InputSlot() : nullptr;
}

PPDXPopupControl* GetDuplexShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->Duplex() : nullptr;
}

PPDXPopupControl* GetOrientationShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->Orientation() : nullptr;
}

PPDXPopupControl* GetHuemarkShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->Huemark() : nullptr;
}

PPDXPopupControl* GetMediaSourceShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->MediaSource() : nullptr;
}

PPDXPopupControl* FindShortcut(PPDXShortcuts* shortcuts, const char* keyword, bool exact) {
    return shortcuts != nullptr ? shortcuts->Find(keyword, exact) : nullptr;
}

PPDXPopupControl* FirstShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->First() : nullptr;
}

PPDXPopupControl* NextShortcut(PPDXShortcuts* shortcuts) {
    return shortcuts != nullptr ? shortcuts->Next() : nullptr;
}

PPDXGroup* FirstGroup(PPDXGroups* groups) {
    return groups != nullptr ? groups->First() : nullptr;
}

PPDXGroup* NextGroup(PPDXGroups* groups) {
    return groups != nullptr ? groups->Next() : nullptr;
}

PPDXGroup* FindGroup(PPDXGroups* groups, const char* keyword, bool exact) {
    return groups != nullptr ? groups->Find(keyword, exact) : nullptr;
}

bool IsGrouPointerListEmpty(PPDXGroups* groups) {
    return groups == nullptr || groups->Empty();
}

UInt32 GroupCount(PPDXGroups* groups) {
    return groups != nullptr ? groups->Count() : 0;
}

PPDXControls* GetRollDownControlList(PPDXRollDown* rollDown) {
    return rollDown != nullptr ? rollDown->Controls() : nullptr;
}

PPDXGroups* GetScrollPaneRollDowns(PPDXScrollPane* pane) {
    return pane != nullptr ? pane->RollDowns() : nullptr;
}

PPDXProperty* FirstProperty(PPDXProperties* pages) {
    return pages != nullptr ? pages->First() : nullptr;
}

PPDXProperty* NextProperty(PPDXProperties* pages) {
    return pages != nullptr ? pages->Next() : nullptr;
}

PPDXProperty* FindProperty(PPDXProperties* pages, const char* keyword, bool exact) {
    return pages != nullptr ? pages->Find(keyword, exact) : nullptr;
}

bool IsPropertyListEmpty(PPDXProperties* pages) {
    return pages == nullptr || pages->Empty();
}

UInt32 PropertyCount(PPDXProperties* pages) {
    return pages != nullptr ? pages->Count() : 0;
}

bool ShowPropInPrintProp(PPDXProperty* page) {
    return page != nullptr && page->ShowInPrintProp();
}

bool ShowPropInApp(PPDXProperty* page) {
    return page != nullptr && page->ShowInApp();
}

PPDXScrollPane* GetPropertyScrollDown(PPDXProperty* page) {
    return page != nullptr ? page->GetScrollDown() : nullptr;
}

void SetPropertyScrollDown(PPDXProperty* page, PPDXScrollPane* pane) {
    if (page != nullptr && pane != nullptr) page->SetScrollDown(pane);
}
}
