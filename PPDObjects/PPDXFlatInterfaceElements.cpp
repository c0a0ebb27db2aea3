// The plain functions over elements and controls of any kind, and the kind tests.
#include "PPDObjects/HalyxPPDModel.h"
#include "PPDObjects/PPDXControl.h"
#include "PPDObjects/PPDXElement.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"

extern "C" {

const char* Keyword(PPDXElement* element) {
    return element != nullptr ? element->Keyword() : nullptr;
}

const char* UserName(PPDXElement* element) {
    return element != nullptr ? element->UserName() : nullptr;
}

bool IsVisible(PPDXElement* element) {
    return element != nullptr && element->IsVisible();
}

bool IsOrphan(PPDXElement* element) {
    return element == nullptr || element->IsOrphan();
}

PPDXElement* GetParent(PPDXElement* element) {
    return element != nullptr ? element->GetParent() : nullptr;
}

bool EqualsElement(PPDXElement* element, PPDXElement* other) {
    return element != nullptr && other != nullptr && *element == *other;
}

bool EqualsKeyWord(PPDXElement* element, const char* text) {
    return element != nullptr && *element == text;
}

bool IsRollDown(PPDXElement* element) {
    return dynamic_cast<PPDXRollDown*>(element) != nullptr;
}

bool IsScrollPane(PPDXElement* element) {
    return dynamic_cast<PPDXScrollPane*>(element) != nullptr;
}

bool IsPropertyPage(PPDXElement* element) {
    return dynamic_cast<PPDXProperty*>(element) != nullptr;
}

UInt32 GetControlFlagCount(PPDXControl* control) {
    return control != nullptr ? control->ControlFlagCount() : 0;
}

const char* GetFirstControlFlag(PPDXControl* control) {
    return control != nullptr ? control->FirstControlFlag() : nullptr;
}

const char* GetNextControlFlag(PPDXControl* control) {
    return control != nullptr ? control->NextControlFlag() : nullptr;
}

bool IsCommandControl(PPDXControl* control) {
    return control != nullptr && control->IsCommand();
}

bool IsSpoolerControl(PPDXControl* control) {
    return control != nullptr && control->IsSpooler();
}

bool IsSetupControl(PPDXControl* control) {
    return control != nullptr && control->IsSetup();
}

bool IsMacHJNControl(PPDXControl* control) {
    return control != nullptr && control->IsMacHJN();
}

bool IsMacImgShiftControl(PPDXControl* control) {
    return control != nullptr && control->IsMacImgShift();
}

bool IsValidControlKeyword(PPDXControl* control, const char* keyword) {
    return control != nullptr && PPDXControl::ValidKeyword(keyword);
}

SInt32 GetPostScript(PPDXControl* control, char* buffer) {
    return control != nullptr ? control->PostScript(buffer) : 0;
}

void ResetControlToDefault(PPDXControl* control) {
    if (control != nullptr) control->ResetToDefaultValue();
}
}
