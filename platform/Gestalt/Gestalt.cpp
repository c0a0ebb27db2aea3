#include "Gestalt/Gestalt.h"

#include <unordered_map>

namespace {

// Destroyed with the other statics at exit, so nothing of the registry outlives the process.
std::unordered_map<OSType, long>& Registry() {
    static std::unordered_map<OSType, long> registry;
    return registry;
}

}  // namespace

OSErr NewGestaltValue(OSType selector, long newValue) {
    bool inserted = Registry().emplace(selector, newValue).second;
    return inserted ? (OSErr)noErr : (OSErr)gestaltDupSelectorErr;
}

OSErr ReplaceGestaltValue(OSType selector, long replacementValue) {
    Registry()[selector] = replacementValue;
    return noErr;
}

OSErr DeleteGestaltValue(OSType selector) {
    return Registry().erase(selector) == 1 ? (OSErr)noErr : (OSErr)gestaltUndefSelectorErr;
}

OSErr Gestalt(OSType selector, long* response) {
    if (response == nullptr) return paramErr;
    auto found = Registry().find(selector);
    if (found == Registry().end()) {
        *response = 0;
        return gestaltUndefSelectorErr;
    }
    *response = found->second;
    return noErr;
}
