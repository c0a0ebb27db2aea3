// Error values: a domain, a code and a readable description.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFERROR_H
#define HALYX_PLATFORM_COREFOUNDATION_CFERROR_H

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFString.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CFError* CFErrorRef;

// Constants are macros so that they can be used while static objects are being initialized.
#define kCFErrorDomainPOSIX CFSTR("POSIX")
#define kCFErrorDomainOSStatus CFSTR("OSStatus")
// Property-list reading and writing errors (codes below).
#define kHalyxErrorDomainPropertyList CFSTR("PropertyList")

// The user-info key of the description.
#define kCFErrorDescriptionKey CFSTR("Description")

enum {
    kCFPropertyListReadCorruptError = 3840,         // malformed input
    kCFPropertyListReadUnknownVersionError = 3841,  // a format this reader does not handle
    kCFPropertyListWriteStreamError = 3851          // a value that cannot be written
};

CFTypeID CFErrorGetTypeID(void);

// `userInfo` may hold kCFErrorDescriptionKey; it is copied.
CFErrorRef CFErrorCreate(CFAllocatorRef allocator, CFStringRef domain, CFIndex code,
                         CFDictionaryRef userInfo);
CFStringRef CFErrorGetDomain(CFErrorRef err);
CFIndex CFErrorGetCode(CFErrorRef err);
// The description (the caller releases it); a generic text when the error has none.
CFStringRef CFErrorCopyDescription(CFErrorRef err);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFERROR_H
