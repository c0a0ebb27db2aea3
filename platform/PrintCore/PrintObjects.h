// Inside the sessions and printers: shared by PMSession.cpp, PMPrinter.cpp and the print host.
// Not for the system's code, which sees only the opaque references.
#ifndef HALYX_PLATFORM_PRINTCORE_PRINTOBJECTS_H
#define HALYX_PLATFORM_PRINTCORE_PRINTOBJECTS_H

#include <vector>

#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFURL.h"
#include "PrintCore/PMSession.h"
#include "PrintCore/PMTicket.h"

struct OpaquePMPrinter {
    CFIndex references = 1;
    CFURLRef ppdURL = nullptr;  // owned; NULL for a printer without a PPD
};

struct OpaquePMPrintSession {
    CFIndex references = 1;
    CFMutableDictionaryRef data = nullptr;  // owned
    PMPrinter printer = nullptr;            // one reference, or NULL
    std::vector<PMTicketRef> tickets;       // one reference to each, dropped with the session
};

// The live object behind a reference, or NULL for NULL, a released object or one of another kind.
PMPrintSession HalyxLiveSession(PMPrintSession session);
PMPrinter HalyxLivePrinter(PMPrinter printer);

// Makes a printer with one reference; `ppdURL` is retained and may be NULL. NULL when memory runs
// out.
PMPrinter HalyxNewPrinter(CFURLRef ppdURL);

#endif  // HALYX_PLATFORM_PRINTCORE_PRINTOBJECTS_H
