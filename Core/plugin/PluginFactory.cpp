// The factory and its instance. The instance is plain memory so that the dialog can call through
// its first field whatever language it is written in.
#include "Core/plugin/PluginFactory.h"

#include "Core/BundleLookup.h"
#include "Core/plugin/PDEInterface.h"
#include "Core/plugin/PluginIdentity.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFPlugIn.h"
#include "CoreFoundation/CFString.h"
#include "Memory/MacMemory.h"

namespace {

#define kPlugInTypesKey CFSTR("CFPlugInTypes")

HalyxPlugInInstance* Instance(void* instance) {
    return static_cast<HalyxPlugInInstance*>(instance);
}

PMPlugInCount AddRef(void* instance) {
    if (instance == nullptr) return 0;
    return ++Instance(instance)->refCount;
}

PMPlugInCount Release(void* instance) {
    if (instance == nullptr) return 0;
    HalyxPlugInInstance* plugIn = Instance(instance);
    if (plugIn->refCount == 0) return 0;
    if (--plugIn->refCount > 0) return plugIn->refCount;
    CFPlugInRemoveInstanceForFactory(plugIn->factoryID);
    CFRelease(plugIn->factoryID);
    DisposePtr(reinterpret_cast<Ptr>(plugIn));
    MyFreeBundle(kHalyxBundleIdentifier);
    return 0;
}

PMPlugInResult QueryInterface(void* instance, CFUUIDBytes interfaceID, void** outInterface) {
    CFUUIDRef requested = CFUUIDCreateFromUUIDBytes(kCFAllocatorDefault, interfaceID);
    PMPlugInResult result = kPMPlugInNoInterface;
    void* answer = nullptr;
    if (requested != nullptr && CFEqual(requested, kPMPlugInBaseInterfaceID)) {
        AddRef(instance);
        answer = instance;
        result = 0;
    } else if (requested != nullptr && CFEqual(requested, kPMPDEInterfaceID)) {
        answer = CreatePDEInterface();
        result = 0;
    }
    if (requested != nullptr) CFRelease(requested);
    if (outInterface != nullptr) *outInterface = answer;
    return result;
}

// The factory that "CFPlugInTypes" names first for `typeID`, for the caller to release.
CFUUIDRef CopyFactoryID(CFBundleRef bundle, CFUUIDRef typeID) {
    CFTypeRef types = CFBundleGetValueForInfoDictionaryKey(bundle, kPlugInTypesKey);
    if (types == nullptr || CFGetTypeID(types) != CFDictionaryGetTypeID() || typeID == nullptr)
        return nullptr;
    CFStringRef typeString = CFUUIDCreateString(kCFAllocatorDefault, typeID);
    if (typeString == nullptr) return nullptr;
    CFTypeRef factories = CFDictionaryGetValue(static_cast<CFDictionaryRef>(types), typeString);
    CFRelease(typeString);
    if (factories == nullptr || CFGetTypeID(factories) != CFArrayGetTypeID() ||
        CFArrayGetCount(static_cast<CFArrayRef>(factories)) < 1)
        return nullptr;
    CFTypeRef first = CFArrayGetValueAtIndex(static_cast<CFArrayRef>(factories), 0);
    if (first == nullptr || CFGetTypeID(first) != CFStringGetTypeID()) return nullptr;
    return CFUUIDCreateFromString(kCFAllocatorDefault, static_cast<CFStringRef>(first));
}

}  // namespace

extern "C" void* HalyxJobNotesPluginFactory(CFAllocatorRef, CFUUIDRef typeID) {
    CFBundleRef bundle = MyGetBundle(kHalyxBundleIdentifier);
    if (bundle == nullptr) return nullptr;
    CFUUIDRef factoryID = CopyFactoryID(bundle, typeID);
    if (factoryID == nullptr) return nullptr;
    HalyxPlugInInstance* plugIn =
        reinterpret_cast<HalyxPlugInInstance*>(NewPtrClear(sizeof(HalyxPlugInInstance)));
    if (plugIn == nullptr) {
        CFRelease(factoryID);
        return nullptr;
    }
    plugIn->interface = &plugIn->table;
    plugIn->table.reserved = nullptr;
    plugIn->table.QueryInterface = QueryInterface;
    plugIn->table.AddRef = AddRef;
    plugIn->table.Release = Release;
    plugIn->factoryID = factoryID;
    plugIn->refCount = 1;
    CFPlugInAddInstanceForFactory(factoryID);
    return plugIn;
}
