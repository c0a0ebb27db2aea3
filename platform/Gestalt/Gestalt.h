// The process-wide registry of values keyed by four-character selectors.
//
// Values are `long` so that an address fits: the system keeps a pointer to its shared model cache
// under a selector of its own. The registry belongs to the process, is not guarded (everything runs
// on one thread) and is emptied when the process exits.
#ifndef HALYX_PLATFORM_GESTALT_GESTALT_H
#define HALYX_PLATFORM_GESTALT_GESTALT_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers `newValue` under `selector`. noErr, or gestaltDupSelectorErr (-5552) when the selector
// already has a value (which is left as it was).
OSErr NewGestaltValue(OSType selector, long newValue);

// Sets the value under `selector`, adding the selector when it is new. Always noErr.
OSErr ReplaceGestaltValue(OSType selector, long replacementValue);

// Removes `selector`. noErr, or gestaltUndefSelectorErr (-5551) when it has no value.
OSErr DeleteGestaltValue(OSType selector);

// Stores the value under `selector` in *response. noErr, gestaltUndefSelectorErr (-5551) when the
// selector has no value (*response is then set to 0), paramErr (-50) for a null `response`.
OSErr Gestalt(OSType selector, long* response);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_GESTALT_GESTALT_H
