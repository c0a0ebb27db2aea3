// Immutable and mutable strings of UTF-16 characters.
//
// Creation from bytes returns NULL when the bytes are not valid in the given encoding (or the
// encoding is unknown). Conversions out of a string report failure by their return value; none of
// them crashes on characters the target encoding lacks.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFSTRING_H
#define HALYX_PLATFORM_COREFOUNDATION_CFSTRING_H

#include <stdarg.h>

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFStringEncodingNames.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CFData* CFDataRef;
typedef const struct __CFDictionary* CFDictionaryRef;

// Comparison options (the ones honoured: case-insensitive, backwards, anchored, numerically).
enum {
    kCFCompareCaseInsensitive = 1,
    kCFCompareBackwards = 4,
    kCFCompareAnchored = 8,
    kCFCompareNonliteral = 16,
    kCFCompareLocalized = 32,
    kCFCompareNumerically = 64
};
typedef CFOptionFlags CFStringCompareFlags;

CFTypeID CFStringGetTypeID(void);

// A constant string for a C literal (UTF-8, or Mac OS Roman when it is not valid UTF-8). The same
// text always gives the same object; it is never freed.
CFStringRef HalyxCFStringMakeConstant(const char* cStr);
#define CFSTR(cStr) HalyxCFStringMakeConstant("" cStr "")

// --- Creation -------------------------------------------------------------------------------
// With kCFStringEncodingUnicode (and the UTF-16/32 forms), a leading byte-order mark chooses the
// byte order and is dropped; without one, host order is assumed. `isExternalRepresentation` also
// drops a UTF-8 byte-order mark.
CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);
CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr,
                                      CFStringEncoding encoding);
CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr,
                                           CFStringEncoding encoding);
CFStringRef CFStringCreateWithCharacters(CFAllocatorRef alloc, const UniChar* chars,
                                         CFIndex numChars);
CFStringRef CFStringCreateCopy(CFAllocatorRef alloc, CFStringRef theString);
CFStringRef CFStringCreateWithSubstring(CFAllocatorRef alloc, CFStringRef str, CFRange range);
CFMutableStringRef CFStringCreateMutable(CFAllocatorRef alloc, CFIndex maxLength);
CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef alloc, CFIndex maxLength,
                                             CFStringRef theString);

// Unicode: the UTF-16 characters with a byte-order mark, in host order. Other encodings: the
// encoded bytes, characters the encoding lacks becoming `lossByte`; NULL when one is lacking and
// `lossByte` is 0.
CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef alloc, CFStringRef theString,
                                               CFStringEncoding encoding, UInt8 lossByte);
// Reads what CFStringCreateExternalRepresentation writes; a byte-order mark of either order is
// honoured. NULL when the bytes are invalid.
CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef alloc, CFDataRef data,
                                                     CFStringEncoding encoding);

// --- Access ---------------------------------------------------------------------------------
CFIndex CFStringGetLength(CFStringRef theString);
// 0 when `idx` is out of range.
UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx);
// Copies the characters of `range` (clipped to the string).
void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer);

// Writes the string and a terminating NUL. False when it does not fit in `bufferSize` bytes or a
// character has no form in `encoding` (the buffer then holds an empty string when bufferSize > 0).
Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);
// Writes a length-prefixed string of at most 255 bytes; false as for CFStringGetCString.
Boolean CFStringGetPascalString(CFStringRef theString, StringPtr buffer, CFIndex bufferSize,
                                CFStringEncoding encoding);
// A pointer to the NUL-terminated text in `encoding`, valid until the string changes or is freed;
// NULL when the string cannot be represented that way (callers then use CFStringGetCString).
const char* CFStringGetCStringPtr(CFStringRef theString, CFStringEncoding encoding);

// Converts the characters of `range`. Characters the encoding lacks become `lossByte`, or stop the
// conversion when it is 0. With `isExternalRepresentation` and Unicode, a byte-order mark comes
// first. A NULL `buffer` only measures. Returns the characters converted; *usedBufLen gets the
// bytes produced.
CFIndex CFStringGetBytes(CFStringRef theString, CFRange range, CFStringEncoding encoding,
                         UInt8 lossByte, Boolean isExternalRepresentation, UInt8* buffer,
                         CFIndex maxBufLen, CFIndex* usedBufLen);

// Bytes that `length` characters can take in `encoding` at most; kCFNotFound when unknown.
CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);

CFStringEncoding CFStringGetSystemEncoding(void);  // kCFStringEncodingMacRoman
CFStringEncoding CFStringGetFastestEncoding(CFStringRef theString);
Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding);

// --- Comparison and search ------------------------------------------------------------------
CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                   CFStringCompareFlags compareOptions);
CFComparisonResult CFStringCompareWithOptions(CFStringRef theString1, CFStringRef theString2,
                                              CFRange rangeToCompare,
                                              CFStringCompareFlags compareOptions);
// Range of the first (or, with kCFCompareBackwards, last) occurrence; {kCFNotFound, 0} when none.
CFRange CFStringFind(CFStringRef theString, CFStringRef stringToFind,
                     CFStringCompareFlags compareOptions);
Boolean CFStringHasPrefix(CFStringRef theString, CFStringRef prefix);
Boolean CFStringHasSuffix(CFStringRef theString, CFStringRef suffix);
// The decimal integer at the start (after spaces); 0 when there is none.
SInt32 CFStringGetIntValue(CFStringRef str);

// --- Formatting ---------------------------------------------------------------------------
// printf-style formatting: %d %i %u %x %X %o %c (with h, hh, l, ll, q, z, j, t), %e %f %g (with
// L), %s (a C string in the system encoding), %p, %% and %@ (the description of a CF value: the
// text itself for a string). Flags, width and precision (also '*') apply to all but %@.
// `formatOptions` is ignored. An unknown conversion is copied as it stands.
CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...);
CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef alloc,
                                                 CFDictionaryRef formatOptions, CFStringRef format,
                                                 va_list arguments);
void CFStringAppendFormat(CFMutableStringRef theString, CFDictionaryRef formatOptions,
                          CFStringRef format, ...);

// --- Mutation (ignored on immutable strings) ------------------------------------------------
void CFStringAppend(CFMutableStringRef theString, CFStringRef appendedString);
void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar* chars, CFIndex numChars);
// Text that is not valid in `encoding` is not appended.
void CFStringAppendCString(CFMutableStringRef theString, const char* cStr,
                           CFStringEncoding encoding);
void CFStringAppendPascalString(CFMutableStringRef theString, ConstStr255Param pStr,
                                CFStringEncoding encoding);
void CFStringInsert(CFMutableStringRef str, CFIndex idx, CFStringRef insertedStr);
void CFStringDelete(CFMutableStringRef theString, CFRange range);
void CFStringReplace(CFMutableStringRef theString, CFRange range, CFStringRef replacement);
void CFStringReplaceAll(CFMutableStringRef theString, CFStringRef replacement);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFSTRING_H
