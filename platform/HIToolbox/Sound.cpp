// The recorded beep.
#include "HIToolbox/Sound.h"

#include <deque>

namespace {

constexpr size_t kKeptDurations = 4096;  // enough for any test; bounded for long fuzz runs
UInt32 gBeepCount = 0;
std::deque<SInt16> gDurations;

}  // namespace

void SysBeep(SInt16 duration) {
    ++gBeepCount;
    if (gDurations.size() == kKeptDurations) gDurations.pop_front();
    gDurations.push_back(duration);
}

UInt32 HalyxBeepCount(void) {
    return gBeepCount;
}

SInt16 HalyxBeepDuration(UInt32 index) {
    const UInt32 firstKept = gBeepCount - static_cast<UInt32>(gDurations.size());
    if (index >= gBeepCount || index < firstKept) return -1;
    return gDurations[index - firstKept];
}

void HalyxResetBeeps(void) {
    gBeepCount = 0;
    gDurations.clear();
}
