// Between the pane and the printing system: the current printer's PPD file, a fresh model parsed
// from it, and the tickets a print session keeps.
#ifndef HALYX_CORE_PRINTERLOOKUP_H
#define HALYX_CORE_PRINTERLOOKUP_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "Files/FileRecords.h"
#include "PrintCore/PMSession.h"
#include "PrintCore/PMTicket.h"

class ORBPPD;

// The URL (for the caller to release) and file reference of the PPD of the session's current
// printer. The printing system's status when there is no printer or no PPD URL; fnfErr (-43)
// when the URL names no file (the URL is then still handed out). *url is null after other
// failures.
OSStatus GetPPDFile(PMPrintSession session, CFURLRef* url, FSRef* fileRef);

// Parses the current printer's PPD afresh, with orphans and hidden items, checking its PC file
// name against the bundle's printer list. Null when the PPD or the printer list cannot be found;
// otherwise the new model (count 0), whatever the name check said.
ORBPPD* SetupPPD(PMPrintSession session, CFStringRef bundleIdentifier);

// The ticket that the session keeps as a number under `ticketName` ("PMPageFormatTicket",
// "PMPrintSettingsTicket", ...). The session's status when there is no such data;
// kPMInvalidValue when it is not a 32-bit number. *ticket is null after every failure.
OSStatus MyGetTicket(PMPrintSession session, CFStringRef ticketName, PMTicketRef* ticket);

#endif  // HALYX_CORE_PRINTERLOOKUP_H
