// Guards for the member counts and numbered ids that the model's collections read back from a
// store. A damaged store may announce any count; these keep the rebuild loops bounded and the ids
// inside their range.
#ifndef HALYX_PPDOBJECTS_STORECOUNTS_H
#define HALYX_PPDOBJECTS_STORECOUNTS_H

#include "Base/MacTypes.h"

class Settings;

// The number of members a count record may announce for this store: every member writes at least
// one record, so a count above the store's record count can only come from a damaged store.
SInt32 PlausibleCount(Settings& settings, SInt32 count);

// `base` + `offset` when it stays within the id range; false otherwise.
bool OffsetId(SInt32 base, SInt64 offset, SInt32* id);

#endif  // HALYX_PPDOBJECTS_STORECOUNTS_H
