#include "PPDObjects/Controls/PPDXRangeControl.h"

#include <cstdlib>

#include "PPDObjects/Controls/RangeRecords.h"

PPDXRangeControl::PPDXRangeControl(const char* keyword, CFStringRef translation,
                                   PointerList& flagStrings, unsigned char* invocation,
                                   const long& invocationLength, const long& minimum,
                                   const long& maximum, const long& increment,
                                   const long& defaultValue, const bool& visible)
    : PPDXControl(keyword, translation, flagStrings, invocation, invocationLength, visible),
      mValue(static_cast<SInt32>(defaultValue)),
      mMin(static_cast<SInt32>(minimum)),
      mMax(static_cast<SInt32>(maximum)),
      mIncrement(static_cast<SInt32>(increment)),
      mDefault(static_cast<SInt32>(defaultValue)),
      mPSCache(nullptr),
      mPSCacheLength(0) {
    mType = CNTL_RANGE;
}

PPDXRangeControl::PPDXRangeControl(Settings& settings, SInt32 id)
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

PPDXRangeControl::~PPDXRangeControl() {
    DropCache();
}

void PPDXRangeControl::DropCache() {
    std::free(mPSCache);
    mPSCache = nullptr;
    mPSCacheLength = 0;
}

void PPDXRangeControl::SetValue(SInt32 value) {
    if (value < mMin) value = mMin;
    if (value > mMax) value = mMax;
    // Every number is a multiple of 1 and -1 (and the remainder by -1 of the smallest number
    // would overflow); 0 has no multiples to snap to.
    if (mIncrement != 0 && mIncrement != 1 && mIncrement != -1 && value % mIncrement != 0) {
        value = mIncrement * (value / mIncrement);
    }
    mValue = value;
    DropCache();
}

SInt32 PPDXRangeControl::PostScript(char* out) {
    return RangeFeatureBlock(*this, mValue, mPSCache, mPSCacheLength, out);
}

OSErr PPDXRangeControl::Save(Settings& settings, SInt32 id) {
    OSErr status = PPDXControl::Save(settings, id);
    if (status != noErr) return status;
    return SaveRangeRecords(settings, id,
                            RangeFields{&mValue, &mMin, &mMax, &mIncrement, &mDefault});
}

OSErr PPDXRangeControl::Restore(Settings& settings, SInt32 id) {
    bool loaded = false;
    OSErr status = RestoreRangeValue(settings, id, &mValue, &loaded);
    if (loaded) DropCache();
    return status;
}
