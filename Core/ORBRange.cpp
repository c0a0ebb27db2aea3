#include "Core/ORBRange.h"

#include <string.h>

#include "Core/TextHelpers.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"

ORBRange::ORBRange(PPDXRangeControl* range) : control(range), ready(true) {}

bool ORBRange::acceptableValue(SInt32 value) const {
    if (control == nullptr) return false;
    if (value < control->MinVal() || value > control->MaxVal()) return false;
    SInt32 step = control->Increment();
    // A step of 0 (and of -1, whose remainder is always 0) accepts every value in the limits.
    if (step == 0 || step == 1 || step == -1) return true;
    return value % step == 0;
}

SInt16 ORBRange::getTitle(char* buffer) const {
    const char* name = control != nullptr ? control->UserName() : nullptr;
    size_t length = name != nullptr ? strlen(name) : 0;
    if (length > 255) length = 255;
    if (buffer != nullptr) {
        if (name != nullptr) memcpy(buffer, name, length);
        buffer[length] = '\0';
    }
    return name != nullptr ? static_cast<SInt16>(length + 1) : 0;
}

SInt16 ORBRange::getUserData(char* buffer) const {
    char text[16];
    num2String(control != nullptr ? control->GetValue() : 0, text);
    size_t length = strlen(text);
    if (buffer != nullptr) memcpy(buffer, text, length + 1);
    return static_cast<SInt16>(length);
}

void ORBRange::setUserData(const char* text) {
    if (control == nullptr) return;
    Str255 counted;
    ctoPStr(text, counted);
    char bounded[256];
    ptoCStr(counted, bounded);
    // A number beyond the 32-bit limits is taken as the limit it passes, never wrapped around.
    SInt32 value = 0;
    string2BoundedNumber(bounded, &value);
    control->SetValue(value);
}
