// The plain functions over Boolean, range and popup controls.
#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/HalyxPPDModel.h"
#include "foundation/CString.h"

namespace {

// Clears the record, then fills it from the item; true when there was an item.
bool Describe(_PopupItem* item, PopupItemInfo* record) {
    if (record != nullptr) {
        record->keyword = nullptr;
        record->displayName = nullptr;
    }
    if (item == nullptr) return false;
    if (record != nullptr) {
        if (item->mKeyword != nullptr && !item->mKeyword->Empty())
            record->keyword = *item->mKeyword;
        record->displayName = item->mLocalName;
    }
    return true;
}

}  // namespace

extern "C" {

bool IsTrue(PPDXBooleanControl* control) {
    return control != nullptr && control->IsTrue();
}

void SetValue(PPDXBooleanControl* control, bool value) {
    if (control != nullptr) control->SetValue(value);
}

SInt32 BooleanPostScript(PPDXBooleanControl* control, char* buffer) {
    return control != nullptr ? control->PostScript(buffer) : 0;
}

const char* TrueDisplayText(PPDXBooleanControl* control) {
    return control != nullptr ? control->TrueDisplayText() : nullptr;
}

const char* FalseDisplayText(PPDXBooleanControl* control) {
    return control != nullptr ? control->FalseDisplayText() : nullptr;
}

bool DefaultState(PPDXBooleanControl* control) {
    return control != nullptr && control->DefaultState();
}

SInt32 GetRangeValue(PPDXRangeControl* control) {
    return control != nullptr ? control->GetValue() : 0;
}

SInt32 GetRangeMinimum(PPDXRangeControl* control) {
    return control != nullptr ? control->MinVal() : 0;
}

SInt32 GetRangeMaximum(PPDXRangeControl* control) {
    return control != nullptr ? control->MaxVal() : 0;
}

SInt32 GetRangeIncrement(PPDXRangeControl* control) {
    return control != nullptr ? control->Increment() : 0;
}

SInt32 GetRangeDefaultVal(PPDXRangeControl* control) {
    return control != nullptr ? control->DefaultValue() : 0;
}

void SetRangeValue(PPDXRangeControl* control, SInt32 value) {
    if (control != nullptr) control->SetValue(value);
}

SInt32 RangePostScript(PPDXRangeControl* control, char* buffer) {
    return control != nullptr ? control->PostScript(buffer) : 0;
}

bool CanSelectMultipleItems(PPDXPopupControl* popup) {
    return popup != nullptr && popup->CanSelectMultipleItems();
}

const char* GetDefaultKeyword(PPDXPopupControl* popup) {
    return popup != nullptr ? popup->GetDefaultKeyword() : nullptr;
}

const char* GetKeywordLocalName(PPDXPopupControl* popup, const char* keyword) {
    return popup != nullptr ? popup->GetKeywordLocalName(keyword) : nullptr;
}

SInt32 GetKeywordPSData(PPDXPopupControl* popup, const char* keyword, char* buffer) {
    return popup != nullptr ? popup->GetKeywordPSData(keyword, buffer) : 0;
}

bool IsKeywordSelected(PPDXPopupControl* popup, const char* keyword) {
    return popup != nullptr && popup->IsKeywordSelected(keyword);
}

bool SetKeywordSelect(PPDXPopupControl* popup, const char* keyword, bool select) {
    return popup != nullptr && popup->SetKeywordSelect(keyword, select);
}

UInt32 PopupItemCount(PPDXPopupControl* popup) {
    return popup != nullptr ? popup->ItemCount() : 0;
}

bool FirstItem(PPDXPopupControl* popup, PopupItemInfo* record) {
    return Describe(popup != nullptr ? popup->FirstItem() : nullptr, record);
}

bool NextItem(PPDXPopupControl* popup, PopupItemInfo* record) {
    return Describe(popup != nullptr ? popup->NextItem() : nullptr, record);
}

SInt32 PopupPostScript(PPDXPopupControl* popup, char* buffer) {
    return popup != nullptr ? popup->PostScript(buffer) : 0;
}

SInt32 GetPopupValue(PPDXPopupControl* popup) {
    return popup != nullptr ? popup->GetValue() : 0;
}

SInt32 GetPopupDefaultValue(PPDXPopupControl* popup) {
    return popup != nullptr ? popup->DefaultValue() : 0;
}

void SetPopupValue(PPDXPopupControl* popup, SInt32 position) {
    if (popup != nullptr) popup->SetValue(position);
}
}
