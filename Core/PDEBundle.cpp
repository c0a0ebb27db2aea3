#include "Core/PDEBundle.h"

#include "HIToolbox/Sound.h"

CFBundleRef PDEBundle::sBundle = nullptr;
bool PDEBundle::sInitialized = false;

namespace {
// The beep that tells of a text the pane could not show.
constexpr SInt16 kConversionBeep = 1;
}  // namespace

void PDEBundle::InitBundle(CFBundleRef bundle) {
    sBundle = bundle;
    sInitialized = true;
}

CFStringRef PDEBundle::GetLocalizedCFString(const char* key, CFBundleRef bundle) {
    if (bundle == nullptr) bundle = sBundle;
    if (bundle == nullptr || key == nullptr) return nullptr;
    CFStringRef keyString =
        CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingMacRoman);
    if (keyString == nullptr) return nullptr;
    CFStringRef text = CFBundleCopyLocalizedString(bundle, keyString, keyString, nullptr);
    CFRelease(keyString);
    return text;
}

int PDEBundle::GetLocalizedString(const char* key, char* buffer, int size, CFBundleRef bundle) {
    if (bundle == nullptr) bundle = sBundle;
    if (bundle == nullptr || buffer == nullptr || size < 1) return 0;
    buffer[0] = '\0';
    CFStringRef text = GetLocalizedCFString(key, bundle);
    if (text == nullptr) return 0;
    ConvertCFString(text, buffer, size, CFStringGetSystemEncoding());
    CFRelease(text);
    int length = 0;
    while (buffer[length] != '\0') ++length;
    return length;
}

bool PDEBundle::ConvertCFString(CFStringRef text, char* buffer, int size,
                                CFStringEncoding encoding) {
    if (buffer == nullptr || size < 1) return false;
    buffer[0] = '\0';
    if (text == nullptr) {
        SysBeep(kConversionBeep);
        return false;
    }
    CFIndex length = CFStringGetLength(text);
    CFRange whole = {0, length};
    // Every character must exist in the encoding; only the room of the buffer may cut the text.
    if (CFStringGetBytes(text, whole, encoding, 0, false, nullptr, 0, nullptr) < length) {
        SysBeep(kConversionBeep);
        return false;
    }
    CFIndex used = 0;
    CFStringGetBytes(text, whole, encoding, 0, false, reinterpret_cast<UInt8*>(buffer), size - 1,
                     &used);
    buffer[used] = '\0';
    return true;
}
