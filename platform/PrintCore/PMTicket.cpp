#include "PrintCore/PMTicket.h"

#include <new>
#include <unordered_map>
#include <vector>

#include "CoreFoundation/CFPropertyList.h"
#include "testing/FailureInjection.h"

namespace {

struct TicketItem {
    CFStringRef key;
    CFTypeRef value;
    CFStringRef client;
    bool locked;
};

struct Ticket {
    CFIndex references = 1;
    CFStringRef type = nullptr;
    std::vector<TicketItem> items;  // few items per ticket: a linear search is the fastest
};

// Tickets by number. Numbers are handed out in rising order and never reused, so a reference to a
// released ticket finds nothing instead of another ticket.
std::unordered_map<SInt32, Ticket*>& Tickets() {
    static std::unordered_map<SInt32, Ticket*> tickets;
    return tickets;
}
SInt32 gLastTicketNumber = 0;

Ticket* FindTicket(PMTicketRef ref) {
    if (ref == nullptr) return nullptr;
    intptr_t number = reinterpret_cast<intptr_t>(ref);
    if (number <= 0 || number > gLastTicketNumber) return nullptr;
    auto found = Tickets().find(static_cast<SInt32>(number));
    return found == Tickets().end() ? nullptr : found->second;
}

TicketItem* FindItem(Ticket* ticket, CFStringRef key) {
    for (TicketItem& item : ticket->items) {
        if (CFEqual(item.key, key)) return &item;
    }
    return nullptr;
}

void ReleaseItemValues(TicketItem& item) {
    CFRelease(item.key);
    CFRelease(item.value);
    CFRelease(item.client);
}

void DestroyTicket(Ticket* ticket) {
    for (TicketItem& item : ticket->items) ReleaseItemValues(item);
    CFRelease(ticket->type);
    delete ticket;
}

}  // namespace

OSStatus PMTicketCreate(CFAllocatorRef, CFStringRef ticketType, PMTicketRef* newTicket) {
    if (newTicket == nullptr) return kPMInvalidParameter;
    *newTicket = nullptr;
    if (ticketType == nullptr) return kPMInvalidParameter;
    if (HalyxShouldFail(kHalyxFailAllocation) || gLastTicketNumber == INT32_MAX) {
        return kPMAllocationFailure;
    }
    Ticket* ticket = new (std::nothrow) Ticket;
    if (ticket == nullptr) return kPMAllocationFailure;
    ticket->type = CFStringCreateCopy(kCFAllocatorDefault, ticketType);
    SInt32 number = ++gLastTicketNumber;
    Tickets()[number] = ticket;
    *newTicket = HalyxTicketRefFromNumber(number);
    return kPMNoError;
}

OSStatus PMTicketRetain(PMTicketRef ref) {
    Ticket* ticket = FindTicket(ref);
    if (ticket == nullptr) return kPMInvalidTicket;
    ++ticket->references;
    return kPMNoError;
}

OSStatus PMTicketRelease(PMTicketRef ref) {
    Ticket* ticket = FindTicket(ref);
    if (ticket == nullptr) return kPMInvalidTicket;
    if (--ticket->references == 0) {
        Tickets().erase(HalyxTicketRefToNumber(ref));
        DestroyTicket(ticket);
    }
    return kPMNoError;
}

OSStatus PMTicketReleaseAndClear(PMTicketRef* ref) {
    if (ref == nullptr) return kPMInvalidParameter;
    OSStatus status = PMTicketRelease(*ref);
    *ref = nullptr;
    return status;
}

OSStatus PMTicketGetType(PMTicketRef ref, CFStringRef* ticketType) {
    if (ticketType == nullptr) return kPMInvalidParameter;
    *ticketType = nullptr;
    Ticket* ticket = FindTicket(ref);
    if (ticket == nullptr) return kPMInvalidTicket;
    *ticketType = ticket->type;
    return kPMNoError;
}

OSStatus PMTicketGetItem(PMTicketRef ref, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                         CFTypeRef* item) {
    if (item == nullptr) return kPMInvalidParameter;
    *item = nullptr;
    Ticket* ticket = FindTicket(ref);
    if (ticket == nullptr) return kPMInvalidTicket;
    if (key == nullptr) return kPMInvalidKey;
    if (nodeIndex1 != kPMTopLevel || nodeIndex2 != kPMTopLevel) return kPMInvalidIndex;
    TicketItem* found = FindItem(ticket, key);
    if (found == nullptr) return kPMKeyNotFound;
    *item = found->value;
    return kPMNoError;
}

OSStatus PMTicketSetItem(PMTicketRef ref, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                         Boolean locked) {
    Ticket* ticket = FindTicket(ref);
    if (ticket == nullptr) return kPMInvalidTicket;
    if (clientID == nullptr) return kPMInvalidParameter;
    if (key == nullptr) return kPMInvalidKey;
    if (item == nullptr) return kPMInvalidItem;
    TicketItem* existing = FindItem(ticket, key);
    if (existing != nullptr && existing->locked && !CFEqual(existing->client, clientID)) {
        return kPMItemIsLocked;
    }
    // Only what a property list can carry, so that a ticket can always be written out.
    if (!CFPropertyListIsValid(item, kCFPropertyListXMLFormat_v1_0)) return kPMInvalidItem;
    CFTypeRef copy =
        CFPropertyListCreateDeepCopy(kCFAllocatorDefault, item, kCFPropertyListImmutable);
    if (copy == nullptr) return kPMInvalidItem;
    CFStringRef client = CFStringCreateCopy(kCFAllocatorDefault, clientID);
    if (existing != nullptr) {
        CFRelease(existing->value);
        CFRelease(existing->client);
        existing->value = copy;
        existing->client = client;
        existing->locked = locked != 0;
    } else {
        CFStringRef keyCopy = CFStringCreateCopy(kCFAllocatorDefault, key);
        ticket->items.push_back(TicketItem{keyCopy, copy, client, locked != 0});
    }
    return kPMNoError;
}

OSStatus PMTicketReleaseItem(PMTicketRef ref, CFStringRef key) {
    Ticket* ticket = FindTicket(ref);
    if (ticket == nullptr) return kPMInvalidTicket;
    if (key == nullptr) return kPMInvalidKey;
    for (auto it = ticket->items.begin(); it != ticket->items.end(); ++it) {
        if (CFEqual(it->key, key)) {
            ReleaseItemValues(*it);
            ticket->items.erase(it);
            return kPMNoError;
        }
    }
    return kPMKeyNotFound;
}
