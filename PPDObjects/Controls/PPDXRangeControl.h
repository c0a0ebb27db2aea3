// A whole number the user sets between limits. The control's PostScript data is the template into
// which the value is filled; the filled template is cached until the value changes.
//
// Store records after the control's, under the same id: 'RngC' marker, then 'RCVl', 'RCMn',
// 'RCMx', 'RCIn' and 'RCDf', four bytes each.
#ifndef HALYX_PPDOBJECTS_CONTROLS_PPDXRANGECONTROL_H
#define HALYX_PPDOBJECTS_CONTROLS_PPDXRANGECONTROL_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXControl.h"

class PointerList;
class Settings;

class PPDXRangeControl : public PPDXControl {
public:
    // The template (a malloc block, or null) becomes the control's PostScript data. The value
    // starts at the default, unchecked.
    PPDXRangeControl(const char* keyword, CFStringRef translation, PointerList& flagStrings,
                     unsigned char* invocation, const long& invocationLength, const long& minimum,
                     const long& maximum, const long& increment, const long& defaultValue,
                     const bool& visible);
    // The control part, then each number from a record that is exactly four bytes long (others
    // stay 0); the value is not clamped.
    PPDXRangeControl(Settings& settings, SInt32 id);
    ~PPDXRangeControl() override;

    SInt32 MinVal() const { return mMin; }
    SInt32 MaxVal() const { return mMax; }
    SInt32 Increment() const { return mIncrement; }
    SInt32 DefaultValue() const { return mDefault; }
    SInt32 GetValue() const { return mValue; }

    // Clamps to min (first) and max, then, unless the value is a multiple of the increment, snaps
    // it toward zero to one (multiples count from 0, not from min). An increment of 0 only clamps.
    void SetValue(SInt32 value);
    void ResetToDefaultValue() override { SetValue(mDefault); }

    // The feature block with the value in decimal as option and the filled template as data.
    SInt32 PostScript(char* out) override;
    OSErr Save(Settings& settings, SInt32 id) override;
    // Reloads the value from a four-byte 'RCVl' record, unclamped; a missing record's status is
    // returned, a wrong length leaves the value and gives 0.
    OSErr Restore(Settings& settings, SInt32 id) override;

private:
    void DropCache();

    SInt32 mValue;
    SInt32 mMin;
    SInt32 mMax;
    SInt32 mIncrement;
    SInt32 mDefault;
    unsigned char* mPSCache;  // malloc block, may be null
    SInt32 mPSCacheLength;
};

#endif  // HALYX_PPDOBJECTS_CONTROLS_PPDXRANGECONTROL_H
