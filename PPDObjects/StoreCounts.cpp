#include "PPDObjects/StoreCounts.h"

#include <climits>

#include "settings/Settings.h"

SInt32 PlausibleCount(Settings& settings, SInt32 count) {
    SInt32 records = settings.Count();
    return count > records ? records : count;
}

bool OffsetId(SInt32 base, SInt64 offset, SInt32* id) {
    SInt64 sum = static_cast<SInt64>(base) + offset;
    if (sum < INT32_MIN || sum > INT32_MAX) return false;
    *id = static_cast<SInt32>(sum);
    return true;
}
