// Ordered lists of values.
//
// The callbacks decide what the array does with its values: kCFTypeArrayCallBacks retains and
// releases CF values and compares them with CFEqual; NULL callbacks store raw pointers and compare
// them by identity. An index out of range is ignored by setters and gives NULL from getters.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFARRAY_H
#define HALYX_PLATFORM_COREFOUNDATION_CFARRAY_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const void* (*CFArrayRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFArrayReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFArrayCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFArrayEqualCallBack)(const void* value1, const void* value2);

typedef struct {
    CFIndex version;
    CFArrayRetainCallBack retain;
    CFArrayReleaseCallBack release;
    CFArrayCopyDescriptionCallBack copyDescription;
    CFArrayEqualCallBack equal;
} CFArrayCallBacks;

extern const CFArrayCallBacks kCFTypeArrayCallBacks;

typedef void (*CFArrayApplierFunction)(const void* value, void* context);
typedef CFComparisonResult (*CFComparatorFunction)(const void* val1, const void* val2,
                                                   void* context);

typedef const struct __CFArray* CFArrayRef;
typedef struct __CFArray* CFMutableArrayRef;

CFTypeID CFArrayGetTypeID(void);

CFArrayRef CFArrayCreate(CFAllocatorRef alloc, const void** values, CFIndex numValues,
                         const CFArrayCallBacks* callBacks);
// The copy keeps the source's callbacks.
CFArrayRef CFArrayCreateCopy(CFAllocatorRef alloc, CFArrayRef theArray);
CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef alloc, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks);
CFMutableArrayRef CFArrayCreateMutableCopy(CFAllocatorRef alloc, CFIndex capacity,
                                           CFArrayRef theArray);

CFIndex CFArrayGetCount(CFArrayRef theArray);
const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx);
void CFArrayGetValues(CFArrayRef theArray, CFRange range, const void** values);
Boolean CFArrayContainsValue(CFArrayRef theArray, CFRange range, const void* value);
// kCFNotFound when absent.
CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef theArray, CFRange range, const void* value);
void CFArrayApplyFunction(CFArrayRef theArray, CFRange range, CFArrayApplierFunction applier,
                          void* context);

// Mutation (ignored on immutable arrays).
void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value);
void CFArrayInsertValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value);
void CFArraySetValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value);
void CFArrayRemoveValueAtIndex(CFMutableArrayRef theArray, CFIndex idx);
void CFArrayRemoveAllValues(CFMutableArrayRef theArray);
void CFArrayAppendArray(CFMutableArrayRef theArray, CFArrayRef otherArray, CFRange otherRange);
void CFArrayExchangeValuesAtIndices(CFMutableArrayRef theArray, CFIndex idx1, CFIndex idx2);
// A stable sort of `range`.
void CFArraySortValues(CFMutableArrayRef theArray, CFRange range, CFComparatorFunction comparator,
                       void* context);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFARRAY_H
