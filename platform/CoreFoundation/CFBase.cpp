#include "CoreFoundation/CFBase.h"

#include <cstdio>
#include <string>

#include "CoreFoundation/CFObject.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::AsObject;
using halyxcf::CFObject;

const CFAllocatorRef kCFAllocatorDefault = nullptr;
const CFAllocatorRef kCFAllocatorSystemDefault = nullptr;
const CFAllocatorRef kCFAllocatorMalloc = nullptr;

namespace halyxcf {

// Reported for constants, which are never freed.
constexpr CFIndex kConstantRetainCount = 0x7fffffffL;

std::string CFObject::Describe() const {
    char text[64];
    std::snprintf(text, sizeof text, "<value %p type %lu>", static_cast<const void*>(this),
                  TypeID());
    return text;
}

CFHashCode HashBytes(const void* bytes, size_t length) {
    // FNV-1a over the bytes, mixed with the length.
    const UInt8* p = static_cast<const UInt8*>(bytes);
    UInt64 hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < length; ++i) {
        hash ^= p[i];
        hash *= 0x100000001b3ull;
    }
    return static_cast<CFHashCode>(hash ^ length);
}

}  // namespace halyxcf

extern "C" {

CFTypeRef CFRetain(CFTypeRef cf) {
    if (cf != nullptr) const_cast<CFObject*>(AsObject(cf))->Retain();
    return cf;
}

void CFRelease(CFTypeRef cf) {
    if (cf == nullptr) return;
    CFObject* object = const_cast<CFObject*>(AsObject(cf));
    if (object->Release()) delete object;
}

CFIndex CFGetRetainCount(CFTypeRef cf) {
    if (cf == nullptr) return 0;
    const CFObject* object = AsObject(cf);
    return object->IsConstant() ? halyxcf::kConstantRetainCount : object->RetainCount();
}

Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2) {
    if (cf1 == cf2) return true;
    if (cf1 == nullptr || cf2 == nullptr) return false;
    const CFObject* a = AsObject(cf1);
    const CFObject* b = AsObject(cf2);
    if (a->TypeID() != b->TypeID()) return false;
    return a->Equal(b);
}

CFHashCode CFHash(CFTypeRef cf) {
    return cf == nullptr ? 0 : AsObject(cf)->Hash();
}

CFTypeID CFGetTypeID(CFTypeRef cf) {
    return cf == nullptr ? 0 : AsObject(cf)->TypeID();
}

CFStringRef CFCopyDescription(CFTypeRef cf) {
    if (cf == nullptr) return nullptr;
    return halyxcf::NewStringFromUTF8(AsObject(cf)->Describe());
}

void CFShow(CFTypeRef obj) {
    std::string text = obj == nullptr ? std::string("(null)") : AsObject(obj)->Describe();
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // extern "C"
