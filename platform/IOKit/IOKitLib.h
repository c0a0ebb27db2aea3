// The hardware registry, as far as the system uses it: finding the primary Ethernet interface and
// reading its controller's MAC address.
//
// The registry is built from the host's network interfaces (getifaddrs). Every interface with a
// 6-byte hardware address that is not a loopback interface is an "IOEthernetInterface" service; in
// interface-index order, the first one has "IOPrimaryInterface" = true. Each service's parent in
// the "IOService" plane is its controller, whose "IOMACAddress" property is the 6-byte address.
// Services carry "BSD Name" (the interface's name) and "IOPrimaryInterface"; controllers
// "IOMACAddress".
//
// Objects (iterators, services, controllers) are numbered handles: every handle a call hands out is
// owned by the caller and released with IOObjectRelease. Handles are never 0 (IO_OBJECT_NULL).
// Process-wide and not guarded: called on one thread.
#ifndef HALYX_PLATFORM_IOKIT_IOKITLIB_H
#define HALYX_PLATFORM_IOKIT_IOKITLIB_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFDictionary.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int kern_return_t;
typedef kern_return_t IOReturn;
typedef UInt32 mach_port_t;
typedef mach_port_t io_object_t;
typedef io_object_t io_iterator_t;
typedef io_object_t io_service_t;
typedef io_object_t io_registry_entry_t;
typedef UInt32 IOOptionBits;

#define IO_OBJECT_NULL ((io_object_t)0)

enum {
    KERN_SUCCESS = 0,
    KERN_INVALID_ARGUMENT = 4,
    KERN_FAILURE = 5,
};

#define kIOReturnSuccess KERN_SUCCESS
#define kIOReturnError ((IOReturn)0xe00002bc)
#define kIOReturnNoMemory ((IOReturn)0xe00002bd)
#define kIOReturnBadArgument ((IOReturn)0xe00002c2)
#define kIOReturnNotFound ((IOReturn)0xe00002f0)

// The only port: pass it where a master port is asked for.
extern const mach_port_t kIOMasterPortDefault;

#define kIOServicePlane "IOService"
#define kIOProviderClassKey "IOProviderClass"
#define kIOPropertyMatchKey "IOPropertyMatch"
#define kIOEthernetInterfaceClass "IOEthernetInterface"
#define kIOPrimaryInterface "IOPrimaryInterface"
#define kIOBSDNameKey "BSD Name"
#define kIOMACAddress "IOMACAddress"
#define kIOEthernetAddressSize 6

// A new matching dictionary { "IOProviderClass" = name } that the caller owns (or hands to
// IOServiceGetMatchingServices). NULL for a null name or when memory runs out.
CFMutableDictionaryRef IOServiceMatching(const char* name);

// Lists the services that match: the provider class must be "IOEthernetInterface" (others match
// nothing), and every key of an optional "IOPropertyMatch" dictionary must have an equal value in
// the service's properties. Always consumes one reference of `matching`. On success *existing is a
// new iterator (possibly over no services) and the status is kIOReturnSuccess. kIOReturnBadArgument
// for a null `matching` or `existing`, kIOReturnNoMemory when the interface list cannot be read;
// then *existing is IO_OBJECT_NULL.
kern_return_t IOServiceGetMatchingServices(mach_port_t masterPort, CFDictionaryRef matching,
                                           io_iterator_t* existing);

// The next service (owned by the caller), or IO_OBJECT_NULL at the end or for a bad iterator.
io_object_t IOIteratorNext(io_iterator_t iterator);

// A service's parent in `plane` ("IOService"): its controller, owned by the caller.
// kIOReturnBadArgument for a bad handle, plane or `parent` (then *parent is IO_OBJECT_NULL when
// given), kIOReturnNotFound for an entry without a parent (a controller).
kern_return_t IORegistryEntryGetParentEntry(io_registry_entry_t entry, const char* plane,
                                            io_registry_entry_t* parent);

// A copy of the entry's property `key` (the caller releases it), or NULL when the entry or the key
// is unknown.
CFTypeRef IORegistryEntryCreateCFProperty(io_registry_entry_t entry, CFStringRef key,
                                          CFAllocatorRef allocator, IOOptionBits options);

// Releases a handle. kIOReturnSuccess, or kIOReturnBadArgument for a handle that is not live
// (IO_OBJECT_NULL included).
kern_return_t IOObjectRelease(io_object_t object);

// The number of live handles (for tests: all released means 0).
int HalyxIOKitLiveObjectCount(void);

// For tests: the registry reads `list` instead of the host's interfaces until called with NULL.
// The list belongs to the caller and must stay valid while it is in use.
struct ifaddrs;
void HalyxIOKitUseInterfaceList(const struct ifaddrs* list);

// Holds the host's interfaces as the first lookup after a hold reads them, until as many
// releases as holds were made: a caller that looks them up once per item of one pass reads them
// once. Holds nest; a list given for tests is read as it stands whatever the holds.
void HalyxIOKitHoldInterfaces(void);
void HalyxIOKitReleaseInterfaces(void);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_IOKIT_IOKITLIB_H
