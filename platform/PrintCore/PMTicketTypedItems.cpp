// The typed item calls: each one is the generic get or set with a check of the value's type.
#include "PrintCore/PMTicket.h"

namespace {

OSStatus GetTyped(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                  CFTypeID type, CFTypeRef* out) {
    *out = nullptr;
    CFTypeRef item = nullptr;
    OSStatus status = PMTicketGetItem(ticket, nodeIndex1, nodeIndex2, key, &item);
    if (status != kPMNoError) return status;
    if (CFGetTypeID(item) != type) return kPMInvalidType;
    *out = item;
    return kPMNoError;
}

OSStatus SetTyped(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                  CFTypeID type, Boolean locked) {
    CFStringRef ticketType = nullptr;
    OSStatus status = PMTicketGetType(ticket, &ticketType);
    if (status != kPMNoError) return status;
    if (item != nullptr && CFGetTypeID(item) != type) return kPMInvalidType;
    return PMTicketSetItem(ticket, clientID, key, item, locked);
}

template <typename Ref>
OSStatus GetAs(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
               CFTypeID type, Ref* out) {
    if (out == nullptr) return kPMInvalidParameter;
    CFTypeRef item = nullptr;
    OSStatus status = GetTyped(ticket, nodeIndex1, nodeIndex2, key, type, &item);
    *out = static_cast<Ref>(item);
    return status;
}

}  // namespace

OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* item) {
    return GetAs(ticket, nodeIndex1, nodeIndex2, key, CFStringGetTypeID(), item);
}

OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDataRef* item) {
    return GetAs(ticket, nodeIndex1, nodeIndex2, key, CFDataGetTypeID(), item);
}

OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                 CFStringRef key, CFDictionaryRef* item) {
    return GetAs(ticket, nodeIndex1, nodeIndex2, key, CFDictionaryGetTypeID(), item);
}

OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, CFArrayRef* item) {
    return GetAs(ticket, nodeIndex1, nodeIndex2, key, CFArrayGetTypeID(), item);
}

OSStatus PMTicketGetCFNumber(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFNumberRef* item) {
    return GetAs(ticket, nodeIndex1, nodeIndex2, key, CFNumberGetTypeID(), item);
}

OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, SInt32* value) {
    if (value == nullptr) return kPMInvalidParameter;
    *value = 0;
    CFNumberRef number = nullptr;
    OSStatus status = PMTicketGetCFNumber(ticket, nodeIndex1, nodeIndex2, key, &number);
    if (status != kPMNoError) return status;
    SInt32 converted = 0;
    if (!CFNumberGetValue(number, kCFNumberSInt32Type, &converted)) return kPMInvalidValue;
    *value = converted;
    return kPMNoError;
}

OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef item, Boolean locked) {
    return SetTyped(ticket, clientID, key, item, CFStringGetTypeID(), locked);
}

OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDataRef item, Boolean locked) {
    return SetTyped(ticket, clientID, key, item, CFDataGetTypeID(), locked);
}

OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                 CFDictionaryRef item, Boolean locked) {
    return SetTyped(ticket, clientID, key, item, CFDictionaryGetTypeID(), locked);
}

OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            CFArrayRef item, Boolean locked) {
    return SetTyped(ticket, clientID, key, item, CFArrayGetTypeID(), locked);
}

OSStatus PMTicketSetCFNumber(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFNumberRef item, Boolean locked) {
    return SetTyped(ticket, clientID, key, item, CFNumberGetTypeID(), locked);
}

OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, SInt32 value,
                           Boolean locked) {
    CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value);
    if (number == nullptr) return kPMAllocationFailure;
    OSStatus status = PMTicketSetItem(ticket, clientID, key, number, locked);
    CFRelease(number);
    return status;
}
