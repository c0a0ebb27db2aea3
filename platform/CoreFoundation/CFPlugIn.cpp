#include "CoreFoundation/CFPlugIn.h"

#include <array>
#include <cstring>
#include <map>

namespace {

using FactoryKey = std::array<UInt8, 16>;

std::map<FactoryKey, CFIndex>& Instances() {
    static auto* instances = new std::map<FactoryKey, CFIndex>();
    return *instances;
}

bool KeyOf(CFUUIDRef factoryID, FactoryKey* key) {
    if (factoryID == nullptr || CFGetTypeID(factoryID) != CFUUIDGetTypeID()) return false;
    CFUUIDBytes bytes = CFUUIDGetUUIDBytes(factoryID);
    std::memcpy(key->data(), &bytes, key->size());
    return true;
}

}  // namespace

extern "C" {

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID) {
    FactoryKey key;
    if (KeyOf(factoryID, &key)) ++Instances()[key];
}

void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID) {
    FactoryKey key;
    if (!KeyOf(factoryID, &key)) return;
    auto found = Instances().find(key);
    if (found == Instances().end()) return;
    if (--found->second == 0) Instances().erase(found);
}

CFIndex HalyxPlugInInstanceCountForFactory(CFUUIDRef factoryID) {
    FactoryKey key;
    if (!KeyOf(factoryID, &key)) return 0;
    auto found = Instances().find(key);
    return found == Instances().end() ? 0 : found->second;
}

}  // extern "C"
