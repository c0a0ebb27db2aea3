// The text encodings the value library converts, and the converter name behind each.
//
// Conversions go through the C library's iconv; HalyxIconvNameForEncoding is the one table that
// maps an encoding constant to the iconv name. The text-encoding service uses the same table so
// that both services agree on every byte.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFSTRINGENCODINGNAMES_H
#define HALYX_PLATFORM_COREFOUNDATION_CFSTRINGENCODINGNAMES_H

#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef UInt32 CFStringEncoding;

enum {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingMacJapanese = 1,  // converted as Shift-JIS (Windows variant)
    kCFStringEncodingMacGreek = 6,     // mapping only: not converted
    kCFStringEncodingMacCyrillic = 7,
    kCFStringEncodingMacCentralEurRoman = 29,
    kCFStringEncodingMacTurkish = 35,   // mapping only: not converted
    kCFStringEncodingUnicode = 0x0100,  // UTF-16 in host byte order
    kCFStringEncodingISOLatin1 = 0x0201,
    kCFStringEncodingISOLatin2 = 0x0202,
    kCFStringEncodingISOLatinCyrillic = 0x0205,
    kCFStringEncodingISOLatinGreek = 0x0207,
    kCFStringEncodingISOLatin5 = 0x0209,
    kCFStringEncodingISOLatin9 = 0x020F,
    kCFStringEncodingDOSJapanese = 0x0421,
    kCFStringEncodingWindowsLatin1 = 0x0500,
    kCFStringEncodingWindowsLatin2 = 0x0501,
    kCFStringEncodingWindowsCyrillic = 0x0502,
    kCFStringEncodingWindowsGreek = 0x0503,
    kCFStringEncodingWindowsLatin5 = 0x0504,
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingShiftJIS = 0x0A01,  // backslash and tilde stay ASCII
    kCFStringEncodingUTF8 = 0x08000100,
    kCFStringEncodingUTF16 = 0x0100,
    kCFStringEncodingUTF16BE = 0x10000100,
    kCFStringEncodingUTF16LE = 0x14000100,
    kCFStringEncodingUTF32 = 0x0c000100,  // host byte order
    kCFStringEncodingUTF32BE = 0x18000100,
    kCFStringEncodingUTF32LE = 0x1c000100
};
#define kCFStringEncodingInvalidId ((CFStringEncoding)0xffffffffU)

// The iconv name for `encoding` ("MACINTOSH", "CP932", ...); NULL when the encoding is not one
// of the above. The Unicode forms name their byte order explicitly (host order for the plain
// forms), so that iconv never adds or expects a byte-order mark.
const char* HalyxIconvNameForEncoding(UInt32 encoding);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFSTRINGENCODINGNAMES_H
