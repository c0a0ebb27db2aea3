// Interface-definition references: a bundle's "<name>.nib" resource (a file or a folder), opened
// and disposed. Nothing reads what it holds; the reference stands for the opened definition.
#ifndef HALYX_PLATFORM_HITOOLBOX_NIBREFERENCE_H
#define HALYX_PLATFORM_HITOOLBOX_NIBREFERENCE_H

#include "CoreFoundation/CFBundle.h"
#include "Base/MacErrors.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueIBNibRef* IBNibRef;

// Finds `nibName`.nib among the bundle's resources (its localized folders included). noErr and a
// reference the caller disposes; paramErr for a null argument; kNibFileNotFoundErr
// when the bundle holds none; memFullErr. *outNibRef is NULL on failure.
OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName,
                                        IBNibRef* outNibRef);
void DisposeNibReference(IBNibRef nibRef);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_NIBREFERENCE_H
