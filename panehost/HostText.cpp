#include "panehost/HostText.h"

#include <string.h>

namespace halyx::panehost {

std::string ToUTF8(CFStringRef text) {
    if (text == nullptr) return std::string();
    CFIndex size =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    std::string buffer(static_cast<size_t>(size), '\0');
    if (!CFStringGetCString(text, &buffer[0], size, kCFStringEncodingUTF8)) return std::string();
    buffer.resize(strlen(buffer.c_str()));
    return buffer;
}

std::string SystemToUTF8(const char* bytes, long length) {
    CFStringRef text =
        CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes),
                                static_cast<CFIndex>(length), CFStringGetSystemEncoding(), false);
    std::string utf8 = ToUTF8(text);
    if (text != nullptr) CFRelease(text);
    return utf8;
}

}  // namespace halyx::panehost
