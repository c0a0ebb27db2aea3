#include "PPDObjects/Controls/PPDXSpecialOption.h"

#include "PPDObjects/ModelRecords.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

namespace {

const FourCharCode kSpecialTag = HALYX_FOUR_CHAR('s', 'o', 'C', 'N');
const FourCharCode kValueTag = HALYX_FOUR_CHAR('s', 'o', 'V', 'l');

}  // namespace

PPDXSpecialOption::PPDXSpecialOption() : mValue(NewModelString("")) {
    mType = CNTL_SPECIAL;
}

PPDXSpecialOption::PPDXSpecialOption(const char* name, CFStringRef translation,
                                     PointerList& flagStrings, char* value,
                                     unsigned char* invocation, const long& invocationLength,
                                     const bool& visible)
    : PPDXControl(name, translation, flagStrings, invocation, invocationLength, visible),
      mValue(NewModelString(value != nullptr ? value : "")) {
    mType = CNTL_SPECIAL;
}

PPDXSpecialOption::PPDXSpecialOption(Settings& settings, SInt32 id)
    : PPDXControl(settings, id), mValue(GetSettingsString(settings, kValueTag, id)) {
    mType = CNTL_SPECIAL;
}

PPDXSpecialOption::~PPDXSpecialOption() {
    delete mValue;
}

const char* PPDXSpecialOption::GetValue() const {
    return mValue != nullptr ? static_cast<const char*>(*mValue) : nullptr;
}

void PPDXSpecialOption::ResetToDefaultValue() {
    if (mValue != nullptr) {
        mValue->SetBuffer("");
    } else {
        mValue = NewModelString("");
    }
}

OSErr PPDXSpecialOption::Save(Settings& settings, SInt32 id) {
    OSErr status = PPDXControl::Save(settings, id);
    if (status != noErr) return status;
    // Without its marker the option could not be rebuilt at all.
    status = static_cast<OSErr>(WriteModelMarker(settings, kSpecialTag, id));
    if (status == noErr && mValue != nullptr)
        status = static_cast<OSErr>(WriteModelString(settings, kValueTag, id, GetValue()));
    return status;
}

OSErr PPDXSpecialOption::Restore(Settings& settings, SInt32 id) {
    CString* value = GetSettingsString(settings, kValueTag, id);
    delete mValue;
    mValue = value;
    return noErr;
}
