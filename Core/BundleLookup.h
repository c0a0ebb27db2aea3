// Finding the pane's own bundle by its identifier, and the folders inside it.
#ifndef HALYX_CORE_BUNDLELOOKUP_H
#define HALYX_CORE_BUNDLELOOKUP_H

#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"

// The bundle's URL with the folder "Contents" appended, for the caller to release; null when no
// bundle has the identifier.
CFURLRef CreatePDEContentsURL(CFStringRef bundleIdentifier);

// The process-wide cached bundle: found by identifier and retained on first use, then returned
// as it is (the identifier is not compared again). Null when none is found.
CFBundleRef MyGetBundle(CFStringRef bundleIdentifier);
// Releases the cached bundle and forgets it; always returns null.
CFBundleRef MyFreeBundle(CFStringRef bundleIdentifier);

#endif  // HALYX_CORE_BUNDLELOOKUP_H
