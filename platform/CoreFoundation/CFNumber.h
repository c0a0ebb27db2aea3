// Numbers and the two booleans.
//
// A number keeps either a 64-bit integer or a double. CFNumberGetType reports the stored form
// (kCFNumberSInt32Type/SInt64Type for integers made from 32- or 64-bit types, ...); GetValue
// converts to any type and returns false when the conversion loses anything.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFNUMBER_H
#define HALYX_PLATFORM_COREFOUNDATION_CFNUMBER_H

#include "CoreFoundation/CFBase.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CFBoolean* CFBooleanRef;
typedef const struct __CFNumber* CFNumberRef;

extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;

CFTypeID CFBooleanGetTypeID(void);
Boolean CFBooleanGetValue(CFBooleanRef boolean);

typedef CFIndex CFNumberType;
enum {
    kCFNumberSInt8Type = 1,
    kCFNumberSInt16Type = 2,
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat32Type = 5,
    kCFNumberFloat64Type = 6,
    kCFNumberCharType = 7,
    kCFNumberShortType = 8,
    kCFNumberIntType = 9,
    kCFNumberLongType = 10,
    kCFNumberLongLongType = 11,
    kCFNumberFloatType = 12,
    kCFNumberDoubleType = 13,
    kCFNumberCFIndexType = 14,
    kCFNumberNSIntegerType = 15,
    kCFNumberCGFloatType = 16,
    kCFNumberMaxType = 16
};

CFTypeID CFNumberGetTypeID(void);

// Reads a value of `theType` from `valuePtr`; NULL for an unknown type or a NULL pointer.
CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType theType, const void* valuePtr);
CFNumberType CFNumberGetType(CFNumberRef number);
CFIndex CFNumberGetByteSize(CFNumberRef number);
Boolean CFNumberIsFloatType(CFNumberRef number);
// Stores the value converted to `theType`; false when the conversion was lossy (out of range,
// fraction dropped) or the type is unknown. The converted value is stored even then.
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr);
CFComparisonResult CFNumberCompare(CFNumberRef number, CFNumberRef otherNumber, void* context);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFNUMBER_H
