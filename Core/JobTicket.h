// A print ticket as the pane sees it: the platform ticket, the print session it came from, and the
// status of the last operation.
//
// Every item is read and written at the top level of the ticket. A get clears its out value first
// and hands back the ticket's own value, not retained for the caller. Each operation keeps its
// result in Status() as well as returning it.
#ifndef HALYX_CORE_JOBTICKET_H
#define HALYX_CORE_JOBTICKET_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFString.h"
#include "PrintCore/PMSession.h"
#include "PrintCore/PMTicket.h"

class JobTicket {
public:
    // A new ticket of `ticketType`, owned by the wrapper; valid when it could be made.
    explicit JobTicket(CFStringRef ticketType);
    // The print-settings ticket of `session`, not owned; valid for a non-null session (even when
    // the session holds no such ticket).
    explicit JobTicket(PMPrintSession session);
    virtual ~JobTicket();

    // The session data under `key` read as a signed 32-bit number. kPMInvalidPrintSettings when
    // there is no such data or its value is 0; kPMInvalidValue when it is not a 32-bit number.
    OSStatus Get(CFStringRef key, SInt32* value);
    // Ticket items of one type; kPMInvalidTicket when the wrapper holds no ticket.
    OSStatus Get(CFStringRef key, CFDataRef* value);
    OSStatus Get(CFStringRef key, CFStringRef* value);
    OSStatus Get(CFStringRef key, CFDictionaryRef* value);
    OSStatus GetInt(CFStringRef key, SInt32* value);
    // Any item, whatever its type.
    OSStatus GetItem(CFStringRef key, CFTypeRef* value);

    // Writes an item as `client`, locked or not; kPMInvalidTicket without a ticket.
    OSStatus Set(CFStringRef client, CFStringRef key, CFArrayRef value, Boolean locked);
    OSStatus Set(CFStringRef client, CFStringRef key, CFStringRef value, Boolean locked);
    OSStatus Set(CFStringRef client, CFStringRef key, CFDataRef value, Boolean locked);
    OSStatus Set(CFStringRef client, CFStringRef key, CFDictionaryRef value, Boolean locked);
    OSStatus Set(CFStringRef client, CFStringRef key, SInt32 value, Boolean locked);

    // Removes the item under `key`.
    OSStatus Release(CFStringRef key);

    PMPrintSession Session() const { return mSession; }
    PMTicketRef Ticket() const { return mTicket; }
    OSStatus Status() const { return mStatus; }
    bool Valid() const { return mValid; }

protected:
    // A wrapper of the ticket that `session` keeps as a number under `sessionKey`, not owned;
    // valid when that ticket was found.
    JobTicket(PMPrintSession session, CFStringRef sessionKey);

    PMPrintSession mSession;
    PMTicketRef mTicket;
    bool mOwns;
    OSStatus mStatus;
    bool mValid;

private:
    JobTicket(const JobTicket&) = delete;
    JobTicket& operator=(const JobTicket&) = delete;
    // Looks up the ticket number under `sessionKey`; mTicket stays null when there is none.
    void FindSessionTicket(CFStringRef sessionKey);
};

#endif  // HALYX_CORE_JOBTICKET_H
