// A range holding 32-bit floats, with the integer range's shape and records (the numbers are
// stored as IEEE single-precision bit patterns under the same tags). Its PostScript carries the
// value truncated toward zero to a whole number.
#ifndef HALYX_PPDOBJECTS_CONTROLS_PPDXFLOATRANGECONTROL_H
#define HALYX_PPDOBJECTS_CONTROLS_PPDXFLOATRANGECONTROL_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXControl.h"

class PointerList;
class Settings;

class PPDXFloatRangeControl : public PPDXControl {
public:
    // A value within this fraction of an increment above a multiple of it snaps down to it.
    static constexpr double kSnapTolerance = 0.01;

    // As the integer range's; the limits, increment and default become floats.
    PPDXFloatRangeControl(const char* keyword, CFStringRef translation, PointerList& flagStrings,
                          unsigned char* invocation, const long& invocationLength,
                          const long& minimum, const long& maximum, const long& increment,
                          const long& defaultValue, const bool& visible);
    PPDXFloatRangeControl(Settings& settings, SInt32 id);
    ~PPDXFloatRangeControl() override;

    float MinVal() const { return mMin; }
    float MaxVal() const { return mMax; }
    float Increment() const { return mIncrement; }
    float DefaultValue() const { return mDefault; }
    float GetValue() const { return mValue; }

    // Clamps to min and max, then snaps to increment x t (t the quotient by the increment cut
    // toward zero) when the quotient is at most kSnapTolerance above t; otherwise the clamped
    // value stays. A quotient that is not a number or does not fit 32 bits does not snap.
    void SetValue(float value);
    void ResetToDefaultValue() override { SetValue(mDefault); }

    // The feature block of the value cut toward zero (NaN gives 0, values beyond 32 bits the
    // nearest 32-bit number).
    SInt32 PostScript(char* out) override;
    OSErr Save(Settings& settings, SInt32 id) override;
    OSErr Restore(Settings& settings, SInt32 id) override;

private:
    void DropCache();

    float mValue;
    float mMin;
    float mMax;
    float mIncrement;
    float mDefault;
    unsigned char* mPSCache;  // malloc block, may be null
    SInt32 mPSCacheLength;
};

#endif  // HALYX_PPDOBJECTS_CONTROLS_PPDXFLOATRANGECONTROL_H
