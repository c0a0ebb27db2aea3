// Interface-definition references.
#include "HIToolbox/NibReference.h"

#include <new>

#include "testing/FailureInjection.h"

struct OpaqueIBNibRef {
    CFURLRef url;  // where the definition was found; owned
};

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName,
                                        IBNibRef* outNibRef) {
    if (outNibRef != nullptr) *outNibRef = nullptr;
    if (bundle == nullptr || nibName == nullptr || outNibRef == nullptr) return paramErr;
    CFURLRef url = CFBundleCopyResourceURL(bundle, nibName, CFSTR("nib"), nullptr);
    if (url == nullptr) return kNibFileNotFoundErr;
    IBNibRef ref =
        HalyxShouldFail(kHalyxFailAllocation) ? nullptr : new (std::nothrow) OpaqueIBNibRef{url};
    if (ref == nullptr) {
        CFRelease(url);
        return memFullErr;
    }
    *outNibRef = ref;
    return noErr;
}

void DisposeNibReference(IBNibRef nibRef) {
    if (nibRef == nullptr) return;
    CFRelease(nibRef->url);
    delete nibRef;
}
