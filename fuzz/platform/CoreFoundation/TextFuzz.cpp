// Feeds arbitrary bytes to the text readers of the value library: strings tables, string creation
// in every encoding, URL strings and UUID strings.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringsTable.h"
#include "CoreFoundation/CFURL.h"
#include "CoreFoundation/CFUUID.h"

namespace {

void CheckURL(CFStringRef text) {
    CFURLRef url = CFURLCreateWithString(nullptr, text, nullptr);
    if (url == nullptr) return;
    // A URL that parsed reads back equal from its own string.
    CFURLRef again = CFURLCreateWithString(nullptr, CFURLGetString(url), nullptr);
    if (!CFEqual(again, url)) std::abort();
    CFStringRef path = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
    if (path != nullptr) {
        CFURLRef child = CFURLCreateCopyAppendingPathComponent(nullptr, url, CFSTR("x"), false);
        CFURLRef parent = CFURLCreateCopyDeletingLastPathComponent(nullptr, child);
        CFRelease(parent);
        CFRelease(child);
        CFRelease(path);
    }
    CFRelease(again);
    CFRelease(url);
}

void CheckUUID(CFStringRef text) {
    CFUUIDRef uuid = CFUUIDCreateFromString(nullptr, text);
    if (uuid == nullptr) return;
    CFStringRef written = CFUUIDCreateString(nullptr, uuid);
    CFUUIDRef again = CFUUIDCreateFromString(nullptr, written);
    if (!CFEqual(again, uuid)) std::abort();
    CFRelease(again);
    CFRelease(written);
    CFRelease(uuid);
}

}  // namespace

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
        if (encoding == kCFStringEncodingUTF8) {
            CheckURL(str);
            CheckUUID(str);
        }
        CFRelease(str);
    }
    return 0;
}
