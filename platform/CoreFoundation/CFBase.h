// Reference-counted platform values: the types and functions every value shares.
//
// Every value (string, data, array, dictionary, number, URL, ...) is a CFTypeRef with a retain
// count. A function whose name holds "Create" or "Copy" returns a value the caller owns and must
// CFRelease; a "Get" function returns a value the caller does not own. CFRelease of the last
// reference frees the value; CFRelease(NULL) is ignored. Constant values (CFSTR literals, the two
// booleans, constant UUIDs) are never freed.
//
// Allocators are accepted for signature compatibility and ignored: pass NULL or
// kCFAllocatorDefault. Mutating an immutable value is ignored. The headers are plain C so that C
// hosts can include them.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFBASE_H
#define HALYX_PLATFORM_COREFOUNDATION_CFBASE_H

#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef unsigned long CFOptionFlags;
typedef unsigned long CFHashCode;
typedef const void* CFTypeRef;
typedef const void* CFPropertyListRef;

typedef const struct __CFAllocator* CFAllocatorRef;
typedef const struct __CFString* CFStringRef;
typedef struct __CFString* CFMutableStringRef;

typedef struct {
    CFIndex location;
    CFIndex length;
} CFRange;

static inline CFRange CFRangeMake(CFIndex location, CFIndex length) {
    CFRange range;
    range.location = location;
    range.length = length;
    return range;
}

typedef CFIndex CFComparisonResult;
enum { kCFCompareLessThan = -1L, kCFCompareEqualTo = 0, kCFCompareGreaterThan = 1 };

enum { kCFNotFound = -1 };

// All allocators are NULL: every value comes from the C++ heap.
extern const CFAllocatorRef kCFAllocatorDefault;
extern const CFAllocatorRef kCFAllocatorSystemDefault;
extern const CFAllocatorRef kCFAllocatorMalloc;

// Adds a reference and returns `cf`. NULL is returned unchanged.
CFTypeRef CFRetain(CFTypeRef cf);

// Drops a reference; the last one frees the value. NULL is ignored.
void CFRelease(CFTypeRef cf);

// The current count; constants report a very large count; 0 for NULL.
CFIndex CFGetRetainCount(CFTypeRef cf);

// Value equality: same type and same contents (numbers compare by value across types). NULL
// equals only NULL.
Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2);

// A hash consistent with CFEqual.
CFHashCode CFHash(CFTypeRef cf);

CFTypeID CFGetTypeID(CFTypeRef cf);

// A readable description of the value for debugging (the caller releases it).
CFStringRef CFCopyDescription(CFTypeRef cf);

// Writes the description of `obj` and a line feed to standard error: the one debug print.
void CFShow(CFTypeRef obj);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFBASE_H
