// Property lists: trees of dictionaries, arrays, strings, data, numbers and booleans, read from
// and written to the XML property-list format (version 1.0).
//
// Reading accepts dict, array, key, string, data (Base64, whitespace allowed), integer, real, true
// and false, inside an optional <plist> root; comments, character and predefined entity references,
// CDATA sections and empty elements (<string/>, <dict/>) read as usual. Anything else is refused
// with a NULL result and an error: malformed XML, wrong nesting, unknown elements (<date> too),
// bad Base64, a number that does not parse, a <key> without a value, entity declarations. Nesting
// deeper than 512 levels is refused. Both directions run in time linear in their input.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFPROPERTYLIST_H
#define HALYX_PLATFORM_COREFOUNDATION_CFPROPERTYLIST_H

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFError.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef CFOptionFlags CFPropertyListMutabilityOptions;
enum {
    kCFPropertyListImmutable = 0,
    kCFPropertyListMutableContainers = 1,          // dictionaries and arrays are mutable
    kCFPropertyListMutableContainersAndLeaves = 2  // strings and data too
};

typedef CFIndex CFPropertyListFormat;
enum {
    kCFPropertyListOpenStepFormat = 1,
    kCFPropertyListXMLFormat_v1_0 = 100,
    kCFPropertyListBinaryFormat_v1_0 = 200  // neither read nor written
};

// Reads an XML property list. On failure returns NULL and, when `error` is not NULL, stores a
// new error (kHalyxErrorDomainPropertyList, kCFPropertyListReadCorruptError) that the caller
// releases. *format gets kCFPropertyListXMLFormat_v1_0 on success.
CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef allocator, CFDataRef data,
                                               CFOptionFlags options, CFPropertyListFormat* format,
                                               CFErrorRef* error);
// The same; on failure *errorString gets a description that the caller releases.
CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef allocator, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString);

// Writes `propertyList` as UTF-8 XML (declaration, document type, <plist version="1.0">, tab
// indentation, dictionaries in their key order). NULL (with an error) when the tree holds a value
// of another type, a dictionary key that is not a string, a character XML cannot carry, or the
// format is not kCFPropertyListXMLFormat_v1_0.
CFDataRef CFPropertyListCreateData(CFAllocatorRef allocator, CFPropertyListRef propertyList,
                                   CFPropertyListFormat format, CFOptionFlags options,
                                   CFErrorRef* error);
CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef allocator, CFPropertyListRef propertyList);

// True when the tree can be written in `format`.
Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format);
// A copy of the whole tree with the given mutability; NULL when the tree is not a property list.
CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef allocator,
                                               CFPropertyListRef propertyList,
                                               CFOptionFlags mutabilityOption);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFPROPERTYLIST_H
