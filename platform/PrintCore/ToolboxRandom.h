// The toolbox's pseudo-random numbers: a multiplicative congruential generator (the "minimal
// standard" of Park and Miller) over the process-wide seed `randSeed`.
//
// Each call replaces the seed by (seed x 16807) mod (2^31 - 1) and returns the low 16 bits of the
// new seed as a signed number, with -32768 reported as 0, so results lie in -32767 ... 32767. The
// same seed always gives the same sequence. The seed starts at 1 in every process; a host that
// wants other numbers stores a seed of its own. A seed is read as an unsigned 32-bit number
// reduced modulo 2^31 - 1; one that reduces to 0 (which would repeat 0 for ever) counts as 1.
// Not guarded: call it from one thread.
#ifndef HALYX_PLATFORM_PRINTCORE_TOOLBOXRANDOM_H
#define HALYX_PLATFORM_PRINTCORE_TOOLBOXRANDOM_H

#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

extern SInt32 randSeed;

SInt16 Random(void);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_TOOLBOXRANDOM_H
