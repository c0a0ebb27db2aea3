#include "PPDObjects/Controls/PPDXFloatRangeControl.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "PPDObjects/Controls/RangeRecords.h"

static_assert(sizeof(float) == 4, "float range records hold four-byte floats");

namespace {

// Whether `number` cut toward zero fits a 32-bit integer.
bool FitsSInt32(double number) {
    return !std::isnan(number) && number > static_cast<double>(INT_MIN) - 1.0 &&
           number < static_cast<double>(INT_MAX) + 1.0;
}

}  // namespace

PPDXFloatRangeControl::PPDXFloatRangeControl(const char* keyword, CFStringRef translation,
                                             PointerList& flagStrings, unsigned char* invocation,
                                             const long& invocationLength, const long& minimum,
                                             const long& maximum, const long& increment,
                                             const long& defaultValue, const bool& visible)
    : PPDXControl(keyword, translation, flagStrings, invocation, invocationLength, visible),
      mValue(static_cast<float>(defaultValue)),
      mMin(static_cast<float>(minimum)),
      mMax(static_cast<float>(maximum)),
      mIncrement(static_cast<float>(increment)),
      mDefault(static_cast<float>(defaultValue)),
      mPSCache(nullptr),
      mPSCacheLength(0) {
    mType = CNTL_RANGE;
}

PPDXFloatRangeControl::PPDXFloatRangeControl(Settings& settings, SInt32 id)
    : PPDXControl(settings, id),
      mValue(0),
      mMin(0),
      mMax(0),
      mIncrement(0),
      mDefault(0),
      mPSCache(nullptr),
      mPSCacheLength(0) {
    mType = CNTL_RANGE;
    LoadRangeRecords(settings, id, RangeFields{&mValue, &mMin, &mMax, &mIncrement, &mDefault});
}

PPDXFloatRangeControl::~PPDXFloatRangeControl() {
    DropCache();
}

void PPDXFloatRangeControl::DropCache() {
    std::free(mPSCache);
    mPSCache = nullptr;
    mPSCacheLength = 0;
}

void PPDXFloatRangeControl::SetValue(float value) {
    if (mMin > value) value = mMin;
    if (value > mMax) value = mMax;
    // An increment of 0 has no multiples: the quotient would be infinite or not a number.
    const float quotient = mIncrement != 0.0f ? value / mIncrement : 0.0f;
    if (mIncrement != 0.0f && FitsSInt32(quotient)) {
        const SInt32 whole = static_cast<SInt32>(quotient);
        const double above = static_cast<double>(quotient) - static_cast<double>(whole);
        if (above <= kSnapTolerance) value = mIncrement * static_cast<float>(whole);
    }
    mValue = value;
    DropCache();
}

SInt32 PPDXFloatRangeControl::PostScript(char* out) {
    SInt32 whole = 0;
    if (FitsSInt32(mValue)) {
        whole = static_cast<SInt32>(mValue);
    } else if (!std::isnan(mValue)) {
        whole = mValue > 0 ? INT_MAX : INT_MIN;
    }
    return RangeFeatureBlock(*this, whole, mPSCache, mPSCacheLength, out);
}

OSErr PPDXFloatRangeControl::Save(Settings& settings, SInt32 id) {
    OSErr status = PPDXControl::Save(settings, id);
    if (status != noErr) return status;
    return SaveRangeRecords(settings, id,
                            RangeFields{&mValue, &mMin, &mMax, &mIncrement, &mDefault});
}

OSErr PPDXFloatRangeControl::Restore(Settings& settings, SInt32 id) {
    bool loaded = false;
    OSErr status = RestoreRangeValue(settings, id, &mValue, &loaded);
    if (loaded) DropCache();
    return status;
}
