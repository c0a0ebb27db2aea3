// Tickets: the keyed items that describe a print job (print settings, page format, printer info).
//
// A ticket holds property-list values (strings, data, numbers, booleans, arrays, dictionaries)
// under string keys, each written by a client (a bundle identifier) and either unlocked or locked.
// A locked item refuses a later set from any other client with kPMItemIsLocked; the client that
// locked it may overwrite it and change its lock. Items live only at the top level: every node
// index must be kPMTopLevel, else kPMInvalidIndex.
//
// A set stores an immutable copy of the value, so changing a mutable value after the set does not
// change the ticket. A get returns the ticket's own value, not retained for the caller; it stays
// valid until the item is set again, released, or the ticket goes away. Every get clears its out
// value first, so a failed get leaves NULL (or 0) behind.
//
// A ticket reference is a small positive number in pointer form, never reused in the process. A
// print session keeps its tickets as numbers (see PMSession.h); HalyxTicketRefToNumber and
// HalyxTicketRefFromNumber convert between the two forms. A released or made-up reference is
// refused with kPMInvalidTicket rather than read.
//
// Not guarded: tickets are made and used on one thread (the print dialog's).
#ifndef HALYX_PLATFORM_PRINTCORE_PMTICKET_H
#define HALYX_PLATFORM_PRINTCORE_PMTICKET_H

#include <stdint.h>

#include "Base/MacTypes.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFString.h"
#include "PrintCore/PMErrors.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaquePMTicketRef* PMTicketRef;

enum { kPMTopLevel = 0 };
enum { kPMUnlocked = 0, kPMLocked = 1 };

// Ticket types.
#define kPMPrintSettingsTicket CFSTR("com.apple.print.PrintSettingsTicket")
#define kPMPageFormatTicket CFSTR("com.apple.print.PageFormatTicket")
#define kPMPrinterInfoTicket CFSTR("com.apple.print.PrinterInfoTicket")

static inline SInt32 HalyxTicketRefToNumber(PMTicketRef ticket) {
    return (SInt32)(intptr_t)ticket;
}
static inline PMTicketRef HalyxTicketRefFromNumber(SInt32 number) {
    return (PMTicketRef)(intptr_t)number;
}

// --- Lifetime ---------------------------------------------------------------------------------
// Makes an empty ticket of `ticketType` with one reference. kPMInvalidParameter for a NULL type
// or out pointer, kPMAllocationFailure when memory runs out (*newTicket is then NULL).
OSStatus PMTicketCreate(CFAllocatorRef allocator, CFStringRef ticketType, PMTicketRef* newTicket);
// Adds or drops a reference; the last PMTicketRelease frees the ticket and its items.
// kPMInvalidTicket for a NULL or released ticket.
OSStatus PMTicketRetain(PMTicketRef ticket);
OSStatus PMTicketRelease(PMTicketRef ticket);
// PMTicketRelease, then sets *ticket to NULL. kPMInvalidParameter for a NULL pointer.
OSStatus PMTicketReleaseAndClear(PMTicketRef* ticket);
// The type the ticket was made with (not retained).
OSStatus PMTicketGetType(PMTicketRef ticket, CFStringRef* ticketType);

// --- Items of any type ------------------------------------------------------------------------
// Statuses common to the gets: kPMInvalidParameter (NULL out pointer), kPMInvalidTicket,
// kPMInvalidKey (NULL key), kPMInvalidIndex, kPMKeyNotFound (no such item).
OSStatus PMTicketGetItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                         CFTypeRef* item);
// Statuses common to the sets: kPMInvalidTicket, kPMInvalidParameter (NULL client),
// kPMInvalidKey, kPMInvalidItem (NULL item, or a value that is not a property list),
// kPMItemIsLocked (the item is locked by another client; it is left unchanged).
OSStatus PMTicketSetItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                         Boolean locked);
// Removes the item, whatever its lock. kPMInvalidTicket, kPMInvalidKey, kPMKeyNotFound.
OSStatus PMTicketReleaseItem(PMTicketRef ticket, CFStringRef key);

// --- Typed items ------------------------------------------------------------------------------
// As PMTicketGetItem; kPMInvalidType when the item is of another type.
OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* item);
OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDataRef* item);
OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                 CFStringRef key, CFDictionaryRef* item);
OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, CFArrayRef* item);
OSStatus PMTicketGetCFNumber(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFNumberRef* item);
// A number item read as a signed 32-bit integer; kPMInvalidType for any other item,
// kPMInvalidValue for a number that does not fit exactly (a fraction, out of range).
OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, SInt32* value);

// As PMTicketSetItem; kPMInvalidType when `item` is of another type than the call names.
OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef item, Boolean locked);
OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDataRef item, Boolean locked);
OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                 CFDictionaryRef item, Boolean locked);
OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            CFArrayRef item, Boolean locked);
OSStatus PMTicketSetCFNumber(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFNumberRef item, Boolean locked);
OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, SInt32 value,
                           Boolean locked);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_PMTICKET_H
