#include "IOKit/IOKitLib.h"

#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFString.h"
#include "testing/FailureInjection.h"

namespace {

// A hand-made interface list in the layout getifaddrs returns.
class InterfaceList {
public:
    void AddLink(const char* name, int index, unsigned flags, int addressLength, UInt8 first) {
        Entry& e = Push(name, flags);
        std::memset(&e.link, 0, sizeof e.link);
        e.link.sll_family = AF_PACKET;
        e.link.sll_ifindex = index;
        e.link.sll_halen = static_cast<unsigned char>(addressLength);
        for (int i = 0; i < 8; ++i) e.link.sll_addr[i] = static_cast<unsigned char>(first + i);
        e.node.ifa_addr = reinterpret_cast<struct sockaddr*>(&e.link);
    }
    void AddInet(const char* name) {
        Entry& e = Push(name, 0);
        std::memset(&e.inet, 0, sizeof e.inet);
        e.inet.sin_family = AF_INET;
        e.node.ifa_addr = reinterpret_cast<struct sockaddr*>(&e.inet);
    }
    const struct ifaddrs* Head() const { return mEntries.empty() ? nullptr : &mEntries[0].node; }

private:
    struct Entry {
        struct ifaddrs node;
        struct sockaddr_ll link;
        struct sockaddr_in inet;
        std::string name;
    };
    Entry& Push(const char* name, unsigned flags) {
        mEntries.emplace_back();
        Entry& e = mEntries.back();
        std::memset(&e.node, 0, sizeof e.node);
        e.name = name;
        e.node.ifa_name = &e.name[0];
        e.node.ifa_flags = flags;
        if (mEntries.size() > 1) mEntries[mEntries.size() - 2].node.ifa_next = &e.node;
        return e;
    }
    std::deque<Entry> mEntries;  // stable addresses
};

class IOKitLibTest : public ::testing::Test {
protected:
    void TearDown() override {
        HalyxIOKitUseInterfaceList(nullptr);
        EXPECT_EQ(0, HalyxIOKitLiveObjectCount());
    }

    // The BSD names and first address bytes of every service matched by `matching`.
    std::vector<std::string> List(CFMutableDictionaryRef matching) {
        io_iterator_t iterator = IO_OBJECT_NULL;
        EXPECT_EQ(kIOReturnSuccess,
                  IOServiceGetMatchingServices(kIOMasterPortDefault, matching, &iterator));
        std::vector<std::string> found;
        while (io_object_t service = IOIteratorNext(iterator)) {
            CFStringRef name = static_cast<CFStringRef>(
                IORegistryEntryCreateCFProperty(service, CFSTR(kIOBSDNameKey), nullptr, 0));
            char text[32] = "";
            CFStringGetCString(name, text, sizeof text, kCFStringEncodingUTF8);
            CFRelease(name);
            io_registry_entry_t controller = IO_OBJECT_NULL;
            EXPECT_EQ(kIOReturnSuccess,
                      IORegistryEntryGetParentEntry(service, kIOServicePlane, &controller));
            CFDataRef mac = static_cast<CFDataRef>(
                IORegistryEntryCreateCFProperty(controller, CFSTR(kIOMACAddress), nullptr, 0));
            EXPECT_EQ(kIOEthernetAddressSize, CFDataGetLength(mac));
            found.push_back(std::string(text) + ":" + std::to_string(CFDataGetBytePtr(mac)[0]));
            CFRelease(mac);
            IOObjectRelease(controller);
            IOObjectRelease(service);
        }
        IOObjectRelease(iterator);
        return found;
    }

    CFMutableDictionaryRef PrimaryMatching() {
        CFMutableDictionaryRef matching = IOServiceMatching(kIOEthernetInterfaceClass);
        CFMutableDictionaryRef property = CFDictionaryCreateMutable(
            nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
        CFDictionarySetValue(property, CFSTR(kIOPrimaryInterface), kCFBooleanTrue);
        CFDictionarySetValue(matching, CFSTR(kIOPropertyMatchKey), property);
        CFRelease(property);
        return matching;
    }
};

TEST_F(IOKitLibTest, EthernetServicesSkipLoopbackAndOtherAddressSizesInIndexOrder) {
    InterfaceList list;
    list.AddLink("lo", 1, IFF_LOOPBACK | IFF_UP, 6, 0);
    list.AddInet("eth1");
    list.AddLink("eth1", 5, IFF_UP, 6, 50);
    list.AddLink("tun0", 2, IFF_UP, 0, 20);
    list.AddLink("ib0", 3, IFF_UP, 20, 30);
    list.AddLink("eth0", 4, 0, 6, 40);
    HalyxIOKitUseInterfaceList(list.Head());

    EXPECT_EQ((std::vector<std::string>{"eth0:40", "eth1:50"}),
              List(IOServiceMatching(kIOEthernetInterfaceClass)));
    EXPECT_EQ((std::vector<std::string>{"eth0:40"}), List(PrimaryMatching()));
    EXPECT_TRUE(List(IOServiceMatching("IOSerialBSDClient")).empty());
}

TEST_F(IOKitLibTest, NoEthernetInterfaceGivesAnEmptyIterator) {
    InterfaceList list;
    list.AddLink("lo", 1, IFF_LOOPBACK, 6, 0);
    HalyxIOKitUseInterfaceList(list.Head());
    EXPECT_TRUE(List(PrimaryMatching()).empty());
}

TEST_F(IOKitLibTest, ReadsTheHostInterfacesWithoutLeakingHandles) {
    // Whatever the host has, at most one service is primary and each has a 6-byte address.
    std::vector<std::string> all = List(IOServiceMatching(kIOEthernetInterfaceClass));
    std::vector<std::string> primary = List(PrimaryMatching());
    EXPECT_EQ(all.empty() ? 0u : 1u, primary.size());
    if (!all.empty()) {
        EXPECT_EQ(all.front(), primary.front());
    }
}

TEST_F(IOKitLibTest, BadArgumentsAndFailures) {
    io_iterator_t iterator = 123;
    EXPECT_EQ(kIOReturnBadArgument,
              IOServiceGetMatchingServices(kIOMasterPortDefault, nullptr, &iterator));
    EXPECT_EQ(IO_OBJECT_NULL, iterator);
    EXPECT_EQ(kIOReturnBadArgument,
              IOServiceGetMatchingServices(kIOMasterPortDefault,
                                           IOServiceMatching(kIOEthernetInterfaceClass), nullptr));
    EXPECT_EQ(nullptr, IOServiceMatching(nullptr));
    {
        HalyxFailureScope scope;
        HalyxInjectFailures(kHalyxFailAllocation, 0, 1);
        EXPECT_EQ(kIOReturnNoMemory, IOServiceGetMatchingServices(
                                         kIOMasterPortDefault,
                                         IOServiceMatching(kIOEthernetInterfaceClass), &iterator));
        EXPECT_EQ(IO_OBJECT_NULL, iterator);
    }

    InterfaceList list;
    list.AddLink("eth0", 2, 0, 6, 1);
    HalyxIOKitUseInterfaceList(list.Head());
    ASSERT_EQ(kIOReturnSuccess,
              IOServiceGetMatchingServices(
                  kIOMasterPortDefault, IOServiceMatching(kIOEthernetInterfaceClass), &iterator));
    io_registry_entry_t parent = 99;
    EXPECT_EQ(kIOReturnBadArgument,
              IORegistryEntryGetParentEntry(iterator, kIOServicePlane, &parent));
    EXPECT_EQ(IO_OBJECT_NULL, parent);
    io_object_t service = IOIteratorNext(iterator);
    ASSERT_NE(IO_OBJECT_NULL, service);
    EXPECT_EQ(IO_OBJECT_NULL, IOIteratorNext(iterator));
    EXPECT_EQ(IO_OBJECT_NULL, IOIteratorNext(service));
    EXPECT_EQ(kIOReturnBadArgument,
              IORegistryEntryGetParentEntry(service, "IODeviceTree", &parent));
    ASSERT_EQ(kIOReturnSuccess, IORegistryEntryGetParentEntry(service, kIOServicePlane, &parent));
    io_registry_entry_t grandparent = 0;
    EXPECT_EQ(kIOReturnNotFound,
              IORegistryEntryGetParentEntry(parent, kIOServicePlane, &grandparent));
    EXPECT_EQ(nullptr, IORegistryEntryCreateCFProperty(service, CFSTR(kIOMACAddress), nullptr, 0));
    EXPECT_EQ(nullptr, IORegistryEntryCreateCFProperty(parent, CFSTR("Nonsense"), nullptr, 0));

    EXPECT_EQ(kIOReturnSuccess, IOObjectRelease(parent));
    EXPECT_EQ(kIOReturnBadArgument, IOObjectRelease(parent));
    EXPECT_EQ(nullptr, IORegistryEntryCreateCFProperty(parent, CFSTR(kIOMACAddress), nullptr, 0));
    EXPECT_EQ(kIOReturnBadArgument, IOObjectRelease(IO_OBJECT_NULL));
    IOObjectRelease(service);
    IOObjectRelease(iterator);
}

}  // namespace
