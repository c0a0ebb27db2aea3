#include "Core/BundleLookup.h"

namespace {
CFBundleRef gCachedBundle = nullptr;
}  // namespace

CFURLRef CreatePDEContentsURL(CFStringRef bundleIdentifier) {
    if (bundleIdentifier == nullptr) return nullptr;
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(bundleIdentifier);
    if (bundle == nullptr) return nullptr;
    CFURLRef bundleURL = CFBundleCopyBundleURL(bundle);
    if (bundleURL == nullptr) return nullptr;
    CFURLRef contents = CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, bundleURL,
                                                              CFSTR("Contents"), true);
    CFRelease(bundleURL);
    return contents;
}

CFBundleRef MyGetBundle(CFStringRef bundleIdentifier) {
    if (gCachedBundle == nullptr && bundleIdentifier != nullptr) {
        CFBundleRef bundle = CFBundleGetBundleWithIdentifier(bundleIdentifier);
        if (bundle != nullptr)
            gCachedBundle = static_cast<CFBundleRef>(const_cast<void*>(CFRetain(bundle)));
    }
    return gCachedBundle;
}

CFBundleRef MyFreeBundle(CFStringRef) {
    if (gCachedBundle != nullptr) {
        CFRelease(gCachedBundle);
        gCachedBundle = nullptr;
    }
    return nullptr;
}
