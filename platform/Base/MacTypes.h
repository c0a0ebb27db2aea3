// Basic scalar types, four-character codes and Pascal strings shared by every platform service.
//
// The system's code was written against these names; they keep their original widths so that the
// records the system writes (two-byte statuses, four-byte tags, length-prefixed names) keep their
// layout. Everything here is plain C so that C hosts can include it.
#ifndef HALYX_PLATFORM_BASE_MACTYPES_H
#define HALYX_PLATFORM_BASE_MACTYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;
typedef float Float32;
typedef double Float64;

typedef unsigned char Boolean;  // one byte, as stored in records
typedef char* Ptr;
typedef Ptr* Handle;  // a relocatable block: *h is the block's current address
typedef long Size;

typedef SInt16 OSErr;
typedef SInt32 OSStatus;

typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;

typedef UInt16 UniChar;
typedef unsigned long UniCharCount;
typedef unsigned long ByteCount;
typedef long ByteOffset;
typedef UInt32 TextEncoding;
typedef UInt32 ItemCount;

typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str31[32];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStringPtr;
typedef const unsigned char* ConstStr255Param;
typedef const unsigned char* ConstStr63Param;

#ifndef __cplusplus
#ifndef true
#define true 1
#define false 0
#endif
#endif

enum { noErr = 0 };

// Builds a four-character code from its text, first character in the high byte: 'QZPd'.
#define HALYX_FOUR_CHAR(a, b, c, d) \
    ((FourCharCode)(((UInt32)(UInt8)(a) << 24) | ((UInt32)(UInt8)(b) << 16) | \
                    ((UInt32)(UInt8)(c) << 8) | (UInt32)(UInt8)(d)))

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_BASE_MACTYPES_H
