// Hashed key-value tables that keep their insertion order.
//
// kCFTypeDictionaryKeyCallBacks / kCFTypeDictionaryValueCallBacks retain CF keys and values and
// find keys by CFHash and CFEqual; kCFCopyStringDictionaryKeyCallBacks stores an immutable copy of
// each key. NULL callbacks store raw pointers found by identity. Iteration (GetKeysAndValues,
// ApplyFunction, descriptions) runs in the order keys were first added, so output built from a
// dictionary is the same on every run.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFDICTIONARY_H
#define HALYX_PLATFORM_COREFOUNDATION_CFDICTIONARY_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const void* (*CFDictionaryRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFDictionaryReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFDictionaryCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFDictionaryEqualCallBack)(const void* value1, const void* value2);
typedef CFHashCode (*CFDictionaryHashCallBack)(const void* value);

typedef struct {
    CFIndex version;
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
    CFDictionaryHashCallBack hash;
} CFDictionaryKeyCallBacks;

typedef struct {
    CFIndex version;
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
} CFDictionaryValueCallBacks;

extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

typedef void (*CFDictionaryApplierFunction)(const void* key, const void* value, void* context);

typedef const struct __CFDictionary* CFDictionaryRef;
typedef struct __CFDictionary* CFMutableDictionaryRef;

CFTypeID CFDictionaryGetTypeID(void);

// A later duplicate key replaces the earlier value.
CFDictionaryRef CFDictionaryCreate(CFAllocatorRef alloc, const void** keys, const void** values,
                                   CFIndex numValues, const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks);
// Copies keep the source's callbacks and order.
CFDictionaryRef CFDictionaryCreateCopy(CFAllocatorRef alloc, CFDictionaryRef theDict);
CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef alloc, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks);
CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef alloc, CFIndex capacity,
                                                     CFDictionaryRef theDict);

CFIndex CFDictionaryGetCount(CFDictionaryRef theDict);
CFIndex CFDictionaryGetCountOfKey(CFDictionaryRef theDict, const void* key);
Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key);
Boolean CFDictionaryContainsValue(CFDictionaryRef theDict, const void* value);
// NULL when absent (use GetValueIfPresent to tell a stored NULL apart).
const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key);
Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key, const void** value);
// Either array may be NULL; each must hold GetCount entries.
void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void** keys, const void** values);
void CFDictionaryApplyFunction(CFDictionaryRef theDict, CFDictionaryApplierFunction applier,
                               void* context);

// Mutation (ignored on immutable dictionaries).
void CFDictionarySetValue(CFMutableDictionaryRef theDict, const void* key, const void* value);
// Adds only when the key is absent.
void CFDictionaryAddValue(CFMutableDictionaryRef theDict, const void* key, const void* value);
// Replaces only when the key is present.
void CFDictionaryReplaceValue(CFMutableDictionaryRef theDict, const void* key, const void* value);
void CFDictionaryRemoveValue(CFMutableDictionaryRef theDict, const void* key);
void CFDictionaryRemoveAllValues(CFMutableDictionaryRef theDict);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFDICTIONARY_H
