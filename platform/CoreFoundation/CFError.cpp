#include "CoreFoundation/CFError.h"
#include "CoreFoundation/CFErrorObject.h"

#include <string>

#include "CoreFoundation/CFObject.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringObject.h"

using halyxcf::CastTo;

struct __CFError : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeError;
    __CFError() : CFObject(kTypeID) {}
    ~__CFError() override {
        CFRelease(mDomain);
        CFRelease(mUserInfo);
    }
    bool Equal(const CFObject* other) const override {
        const __CFError* that = static_cast<const __CFError*>(other);
        return mCode == that->mCode && CFEqual(mDomain, that->mDomain);
    }
    CFHashCode Hash() const override { return static_cast<CFHashCode>(mCode); }
    std::string Describe() const override {
        const __CFString* domain = CastTo<__CFString>(mDomain);
        return "error " + (domain != nullptr ? domain->UTF8() : std::string()) + " " +
               std::to_string(mCode);
    }

    CFStringRef mDomain = nullptr;
    CFIndex mCode = 0;
    CFDictionaryRef mUserInfo = nullptr;
};

extern "C" {

CFTypeID CFErrorGetTypeID(void) {
    return __CFError::kTypeID;
}

CFErrorRef CFErrorCreate(CFAllocatorRef, CFStringRef domain, CFIndex code,
                         CFDictionaryRef userInfo) {
    if (CastTo<__CFString>(domain) == nullptr) return nullptr;
    __CFError* error = new __CFError();
    error->mDomain = CFStringCreateCopy(nullptr, domain);
    error->mCode = code;
    if (userInfo != nullptr) error->mUserInfo = CFDictionaryCreateCopy(nullptr, userInfo);
    return error;
}

CFStringRef CFErrorGetDomain(CFErrorRef err) {
    const __CFError* error = CastTo<__CFError>(err);
    return error == nullptr ? nullptr : error->mDomain;
}

CFIndex CFErrorGetCode(CFErrorRef err) {
    const __CFError* error = CastTo<__CFError>(err);
    return error == nullptr ? 0 : error->mCode;
}

CFStringRef CFErrorCopyDescription(CFErrorRef err) {
    const __CFError* error = CastTo<__CFError>(err);
    if (error == nullptr) return nullptr;
    const void* text = CFDictionaryGetValue(error->mUserInfo, kCFErrorDescriptionKey);
    if (CFGetTypeID(text) == CFStringGetTypeID()) return static_cast<CFStringRef>(CFRetain(text));
    return halyxcf::NewStringFromUTF8("The operation could not be completed (" + error->Describe() +
                                      ").");
}

}  // extern "C"

namespace halyxcf {

CFErrorRef NewError(CFStringRef domain, CFIndex code, const std::string& text) {
    CFStringRef description = NewStringFromUTF8(text);
    const void* keys[] = {kCFErrorDescriptionKey};
    const void* values[] = {description};
    CFDictionaryRef info = CFDictionaryCreate(
        nullptr, keys, values, 1, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFErrorRef error = CFErrorCreate(nullptr, domain, code, info);
    CFRelease(info);
    CFRelease(description);
    return error;
}

}  // namespace halyxcf
