#include "IOKit/IOKitLib.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFString.h"
#include "testing/FailureInjection.h"

const mach_port_t kIOMasterPortDefault = 0;

namespace {

struct Interface {
    std::string name;
    int index;
    bool primary;
    UInt8 address[kIOEthernetAddressSize];
};

enum class Kind { kIterator, kService, kController };

struct Object {
    Kind kind;
    Interface interface;              // services and controllers
    std::vector<Interface> services;  // iterators
    size_t next = 0;
};

std::map<io_object_t, Object> gObjects;
io_object_t gLastHandle = 0;
const struct ifaddrs* gTestList = nullptr;
int gHolds = 0;
bool gHeldRead = false;
std::vector<Interface> gHeld;

io_object_t Add(Object object) {
    do {
        ++gLastHandle;
    } while (gLastHandle == IO_OBJECT_NULL || gObjects.count(gLastHandle) != 0);
    gObjects.emplace(gLastHandle, std::move(object));
    return gLastHandle;
}

Object* Find(io_object_t handle) {
    auto it = gObjects.find(handle);
    return it == gObjects.end() ? nullptr : &it->second;
}

// Non-loopback link-level entries with a 6-byte address, one per interface, in index order.
void Collect(const struct ifaddrs* list, std::vector<Interface>* out) {
    for (const struct ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_PACKET) continue;
        if ((a->ifa_flags & IFF_LOOPBACK) != 0) continue;
        const struct sockaddr_ll* link = reinterpret_cast<const struct sockaddr_ll*>(a->ifa_addr);
        if (link->sll_halen != kIOEthernetAddressSize) continue;
        bool seen = std::any_of(out->begin(), out->end(),
                                [&](const Interface& i) { return i.index == link->sll_ifindex; });
        if (seen) continue;
        Interface i;
        i.name = a->ifa_name != nullptr ? a->ifa_name : "";
        i.index = link->sll_ifindex;
        i.primary = false;
        std::memcpy(i.address, link->sll_addr, kIOEthernetAddressSize);
        out->push_back(i);
    }
    std::stable_sort(out->begin(), out->end(),
                     [](const Interface& a, const Interface& b) { return a.index < b.index; });
    if (!out->empty()) out->front().primary = true;
}

bool ReadInterfaces(std::vector<Interface>* out) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return false;
    if (gTestList != nullptr) {
        Collect(gTestList, out);
        return true;
    }
    if (gHolds > 0 && gHeldRead) {
        *out = gHeld;
        return true;
    }
    struct ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    Collect(list, out);
    freeifaddrs(list);
    if (gHolds > 0) {
        gHeld = *out;
        gHeldRead = true;
    }
    return true;
}

// The property `key` of a service or controller, as a new value; NULL when it has none.
CFTypeRef CreateProperty(const Object& object, const char* key) {
    if (object.kind == Kind::kService) {
        if (std::strcmp(key, kIOBSDNameKey) == 0)
            return CFStringCreateWithCString(nullptr, object.interface.name.c_str(),
                                             kCFStringEncodingUTF8);
        if (std::strcmp(key, kIOPrimaryInterface) == 0)
            return CFRetain(object.interface.primary ? kCFBooleanTrue : kCFBooleanFalse);
    } else if (object.kind == Kind::kController) {
        if (std::strcmp(key, kIOMACAddress) == 0)
            return CFDataCreate(nullptr, object.interface.address, kIOEthernetAddressSize);
    }
    return nullptr;
}

struct MatchContext {
    const Object* service;
    bool matches;
};

void MatchOne(const void* key, const void* value, void* context) {
    MatchContext* match = static_cast<MatchContext*>(context);
    char name[64];
    CFTypeRef own = nullptr;
    if (CFGetTypeID(key) == CFStringGetTypeID() &&
        CFStringGetCString(static_cast<CFStringRef>(key), name, sizeof name,
                           kCFStringEncodingUTF8)) {
        own = CreateProperty(*match->service, name);
    }
    if (own == nullptr || !CFEqual(own, value)) match->matches = false;
    if (own != nullptr) CFRelease(own);
}

bool Matches(CFDictionaryRef matching, const Interface& interface) {
    CFDictionaryRef properties =
        static_cast<CFDictionaryRef>(CFDictionaryGetValue(matching, CFSTR(kIOPropertyMatchKey)));
    if (properties == nullptr) return true;
    if (CFGetTypeID(properties) != CFDictionaryGetTypeID()) return false;
    Object service{Kind::kService, interface, {}, 0};
    MatchContext context{&service, true};
    CFDictionaryApplyFunction(properties, MatchOne, &context);
    return context.matches;
}

}  // namespace

CFMutableDictionaryRef IOServiceMatching(const char* name) {
    if (name == nullptr) return nullptr;
    CFMutableDictionaryRef matching = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFStringRef className = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    if (matching == nullptr || className == nullptr) {
        if (matching != nullptr) CFRelease(matching);
        if (className != nullptr) CFRelease(className);
        return nullptr;
    }
    CFDictionarySetValue(matching, CFSTR(kIOProviderClassKey), className);
    CFRelease(className);
    return matching;
}

kern_return_t IOServiceGetMatchingServices(mach_port_t, CFDictionaryRef matching,
                                           io_iterator_t* existing) {
    if (existing != nullptr) *existing = IO_OBJECT_NULL;
    if (matching == nullptr || existing == nullptr) {
        if (matching != nullptr) CFRelease(matching);
        return kIOReturnBadArgument;
    }
    std::vector<Interface> interfaces;
    if (!ReadInterfaces(&interfaces)) {
        CFRelease(matching);
        return kIOReturnNoMemory;
    }
    Object iterator{Kind::kIterator, Interface(), {}, 0};
    CFTypeRef className = CFDictionaryGetValue(matching, CFSTR(kIOProviderClassKey));
    if (className != nullptr && CFEqual(className, CFSTR(kIOEthernetInterfaceClass))) {
        for (const Interface& i : interfaces)
            if (Matches(matching, i)) iterator.services.push_back(i);
    }
    CFRelease(matching);
    *existing = Add(std::move(iterator));
    return kIOReturnSuccess;
}

io_object_t IOIteratorNext(io_iterator_t iterator) {
    Object* it = Find(iterator);
    if (it == nullptr || it->kind != Kind::kIterator || it->next >= it->services.size())
        return IO_OBJECT_NULL;
    Interface interface = it->services[it->next++];
    return Add(Object{Kind::kService, interface, {}, 0});
}

kern_return_t IORegistryEntryGetParentEntry(io_registry_entry_t entry, const char* plane,
                                            io_registry_entry_t* parent) {
    if (parent != nullptr) *parent = IO_OBJECT_NULL;
    Object* object = Find(entry);
    if (object == nullptr || object->kind == Kind::kIterator || parent == nullptr ||
        plane == nullptr || std::strcmp(plane, kIOServicePlane) != 0)
        return kIOReturnBadArgument;
    if (object->kind != Kind::kService) return kIOReturnNotFound;
    Interface interface = object->interface;
    *parent = Add(Object{Kind::kController, interface, {}, 0});
    return kIOReturnSuccess;
}

CFTypeRef IORegistryEntryCreateCFProperty(io_registry_entry_t entry, CFStringRef key,
                                          CFAllocatorRef, IOOptionBits) {
    Object* object = Find(entry);
    char name[64];
    if (object == nullptr || key == nullptr ||
        !CFStringGetCString(key, name, sizeof name, kCFStringEncodingUTF8))
        return nullptr;
    return CreateProperty(*object, name);
}

kern_return_t IOObjectRelease(io_object_t object) {
    return gObjects.erase(object) == 1 ? kIOReturnSuccess : kIOReturnBadArgument;
}

int HalyxIOKitLiveObjectCount(void) {
    return static_cast<int>(gObjects.size());
}

void HalyxIOKitUseInterfaceList(const struct ifaddrs* list) {
    gTestList = list;
}

void HalyxIOKitHoldInterfaces(void) {
    ++gHolds;
}

void HalyxIOKitReleaseInterfaces(void) {
    if (gHolds == 0 || --gHolds > 0) return;
    gHeldRead = false;
    gHeld.clear();
}
