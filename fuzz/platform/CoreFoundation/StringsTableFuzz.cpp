// Feeds arbitrary bytes to the strings-table reader and to string creation in every encoding.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string error;
    CFDictionaryRef table = halyxcf::ParseStringsTable(bytes, size, &error);
    if (table == nullptr && error.empty()) std::abort();  // a refusal must say why
    CFRelease(table);

    static const CFStringEncoding kEncodings[] = {
        kCFStringEncodingMacRoman, kCFStringEncodingUnicode,       kCFStringEncodingISOLatin2,
        kCFStringEncodingShiftJIS, kCFStringEncodingWindowsLatin1, kCFStringEncodingUTF8,
        kCFStringEncodingASCII};
    for (CFStringEncoding encoding : kEncodings) {
        CFStringRef str =
            CFStringCreateWithBytes(nullptr, bytes, static_cast<CFIndex>(size), encoding, true);
        if (str == nullptr) continue;
        // Whatever was read converts back to the same encoding without loss.
        CFIndex length = CFStringGetLength(str);
        CFIndex used = 0;
        if (CFStringGetBytes(str, CFRangeMake(0, length), encoding, 0, false, nullptr, 0, &used) !=
            length)
            std::abort();
        CFRelease(str);
    }
    return 0;
}
