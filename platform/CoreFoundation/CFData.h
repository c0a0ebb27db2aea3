// Immutable and mutable byte buffers.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFDATA_H
#define HALYX_PLATFORM_COREFOUNDATION_CFDATA_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CFData* CFDataRef;
typedef struct __CFData* CFMutableDataRef;

CFTypeID CFDataGetTypeID(void);

// Copies `length` bytes (NULL bytes with length 0 make an empty value). NULL for a negative length.
CFDataRef CFDataCreate(CFAllocatorRef alloc, const UInt8* bytes, CFIndex length);
CFDataRef CFDataCreateCopy(CFAllocatorRef alloc, CFDataRef theData);
// `capacity` is a hint (0 = unlimited); the value grows as needed.
CFMutableDataRef CFDataCreateMutable(CFAllocatorRef alloc, CFIndex capacity);
CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef alloc, CFIndex capacity, CFDataRef theData);

CFIndex CFDataGetLength(CFDataRef theData);
// The bytes, valid until the value changes or is freed (NULL for NULL data). An empty value still
// returns a valid pointer.
const UInt8* CFDataGetBytePtr(CFDataRef theData);
// NULL for an immutable value.
UInt8* CFDataGetMutableBytePtr(CFMutableDataRef theData);
// Copies the bytes of `range` (clipped to the value).
void CFDataGetBytes(CFDataRef theData, CFRange range, UInt8* buffer);

// Mutation (ignored on immutable values). New bytes from SetLength/IncreaseLength are zero.
void CFDataSetLength(CFMutableDataRef theData, CFIndex length);
void CFDataIncreaseLength(CFMutableDataRef theData, CFIndex extraLength);
void CFDataAppendBytes(CFMutableDataRef theData, const UInt8* bytes, CFIndex length);
void CFDataReplaceBytes(CFMutableDataRef theData, CFRange range, const UInt8* newBytes,
                        CFIndex newLength);
void CFDataDeleteBytes(CFMutableDataRef theData, CFRange range);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFDATA_H
