// Conversion between encoded bytes and the UTF-16 that strings hold (internal).
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFSTRINGCONVERTER_H
#define HALYX_PLATFORM_COREFOUNDATION_CFSTRINGCONVERTER_H

#include <vector>

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFStringEncodingNames.h"

namespace halyxcf {

// Appends the characters of `bytes` to `out`. False, with `out` unchanged, when the encoding is
// unknown or the bytes are not valid in it. No byte-order mark is interpreted here.
bool DecodeBytes(const UInt8* bytes, size_t length, CFStringEncoding encoding,
                 std::vector<UniChar>* out);

// Encodes `count` characters. Characters the encoding cannot hold become `lossByte`, or end the
// conversion when it is 0. Stops before a character that does not fit in `maxBufLen` bytes. A
// NULL `buffer` only measures. Returns the characters converted and stores the bytes produced in
// *usedBufLen (when not NULL). An unknown encoding converts nothing.
CFIndex EncodeChars(const UniChar* chars, CFIndex count, CFStringEncoding encoding, UInt8 lossByte,
                    UInt8* buffer, CFIndex maxBufLen, CFIndex* usedBufLen);

// True when every byte is below 0x80 and the encoding reads them as ASCII.
bool IsASCIICompatible(CFStringEncoding encoding);

}  // namespace halyxcf

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFSTRINGCONVERTER_H
