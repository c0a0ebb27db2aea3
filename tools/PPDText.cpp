#include "tools/PPDText.h"

#include <cstring>

namespace halyx::tools {

namespace {

bool IsAscii(const unsigned char* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (bytes[i] >= 0x80) return false;
    return true;
}

}  // namespace

CFStringEncoding EncodingOfPPD(const char* languageEncoding) {
    static const struct {
        const char* name;
        CFStringEncoding encoding;
    } kNames[] = {
        {"ISOLatin1", kCFStringEncodingISOLatin1},  {"ISOLatin2", kCFStringEncodingISOLatin2},
        {"ISOLatin5", kCFStringEncodingISOLatin5},  {"JIS83-RKSJ", kCFStringEncodingShiftJIS},
        {"MacStandard", kCFStringEncodingMacRoman}, {"WindowsANSI", kCFStringEncodingWindowsLatin1},
        {"UTF-8", kCFStringEncodingUTF8},
    };
    if (languageEncoding == nullptr) return kCFStringEncodingMacRoman;
    for (const auto& entry : kNames)
        if (std::strcmp(languageEncoding, entry.name) == 0) return entry.encoding;
    return kCFStringEncodingMacRoman;
}

std::string Utf8FromCFString(CFStringRef string) {
    if (string == nullptr) return std::string();
    const CFRange all = CFRangeMake(0, CFStringGetLength(string));
    CFIndex used = 0;
    CFStringGetBytes(string, all, kCFStringEncodingUTF8, 0, false, nullptr, 0, &used);
    if (used <= 0) return std::string();
    std::string result(static_cast<size_t>(used), '\0');
    CFStringGetBytes(string, all, kCFStringEncodingUTF8, 0, false,
                     reinterpret_cast<UInt8*>(&result[0]), used, &used);
    result.resize(static_cast<size_t>(used));
    return result;
}

std::string Utf8FromBytes(const void* bytes, size_t length, CFStringEncoding encoding) {
    if (bytes == nullptr || length == 0) return std::string();
    const unsigned char* data = static_cast<const unsigned char*>(bytes);
    if (IsAscii(data, length)) return std::string(reinterpret_cast<const char*>(data), length);
    CFStringRef string =
        CFStringCreateWithBytes(nullptr, data, static_cast<CFIndex>(length), encoding, false);
    if (string == nullptr) {
        string = CFStringCreateWithBytes(nullptr, data, static_cast<CFIndex>(length),
                                         kCFStringEncodingMacRoman, false);
    }
    std::string result = Utf8FromCFString(string);
    if (string != nullptr) CFRelease(string);
    return result;
}

std::string Utf8FromText(const char* text, CFStringEncoding encoding) {
    if (text == nullptr) return std::string();
    return Utf8FromBytes(text, std::strlen(text), encoding);
}

}  // namespace halyx::tools
