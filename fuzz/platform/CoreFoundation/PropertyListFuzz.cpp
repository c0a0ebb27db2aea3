// Feeds arbitrary bytes to the property-list reader. Whatever reads must write, and what is
// written must read back and write again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "CoreFoundation/CoreFoundation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    CFDataRef data = CFDataCreate(nullptr, bytes, static_cast<CFIndex>(size));
    for (CFOptionFlags option :
         {kCFPropertyListImmutable, kCFPropertyListMutableContainersAndLeaves}) {
        CFStringRef error = nullptr;
        CFTypeRef plist = CFPropertyListCreateFromXMLData(nullptr, data, option, &error);
        if (plist == nullptr) {
            if (error == nullptr) std::abort();  // a failure must say why
            CFRelease(error);
            continue;
        }
        CFDataRef written = CFPropertyListCreateXMLData(nullptr, plist);
        if (written != nullptr) {
            CFTypeRef again =
                CFPropertyListCreateWithData(nullptr, written, option, nullptr, nullptr);
            if (again == nullptr) std::abort();
            CFDataRef rewritten = CFPropertyListCreateXMLData(nullptr, again);
            if (!CFEqual(rewritten, written)) std::abort();
            CFRelease(rewritten);
            CFRelease(again);
            CFRelease(written);
        }
        CFRelease(plist);
    }
    CFRelease(data);
    return 0;
}
