#include "Core/plugin/PluginIdentity.h"

CFStringRef CreatePSDataKey(CFStringRef bundleIdentifier) {
    if (bundleIdentifier == nullptr) return nullptr;
    return CFStringCreateWithFormat(kCFAllocatorDefault, nullptr, CFSTR(kHalyxPSDataKeyPrefix "%@"),
                                    bundleIdentifier);
}
