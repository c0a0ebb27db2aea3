// The plug-in factory registry: how many live instances each factory has handed out. A plug-in
// adds an instance when its factory makes one and removes it when that instance goes away.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFPLUGIN_H
#define HALYX_PLATFORM_COREFOUNDATION_CFPLUGIN_H

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFUUID.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct __CFBundle* CFPlugInRef;

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID);
// Ignored for a factory without instances.
void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID);
// The live instances of `factoryID` (0 for an unknown factory).
CFIndex HalyxPlugInInstanceCountForFactory(CFUUIDRef factoryID);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFPLUGIN_H
