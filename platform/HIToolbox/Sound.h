// The system beep. Nothing is heard: each beep is recorded with its duration, so tests and hosts
// can tell that (and how) the user was warned.
#ifndef HALYX_PLATFORM_HITOOLBOX_SOUND_H
#define HALYX_PLATFORM_HITOOLBOX_SOUND_H

#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

void SysBeep(SInt16 duration);

// Beeps since the last reset, and the duration of beep `index` (0 = first; the durations of the
// most recent 4096 beeps are kept, older ones read as -1).
UInt32 HalyxBeepCount(void);
SInt16 HalyxBeepDuration(UInt32 index);
void HalyxResetBeeps(void);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_SOUND_H
