// Print sessions: the printer chosen for a job and the data that the print dialog shares with its
// panes by name, among them the job's tickets.
//
// A session keeps each of its tickets as a number under a name (kPDE_PMPrintSettingsRef,
// kPDE_PMPageFormatRef, kPDE_PMPrinterInfoRef): read the data as a CFNumber, take its value as a
// signed 32-bit integer and turn it into a ticket with HalyxTicketRefFromNumber (PMTicket.h).
//
// Sessions and printers are counted objects: PMRetain adds a reference, PMRelease drops one, and
// the last release frees the object with what it owns. A released session or printer is refused
// (kPMInvalidPrintSession, kPMInvalidPrinter, kPMInvalidParameter) instead of being read.
//
// Not guarded: sessions are made and used on one thread (the print dialog's).
#ifndef HALYX_PLATFORM_PRINTCORE_PMSESSION_H
#define HALYX_PLATFORM_PRINTCORE_PMSESSION_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFString.h"
#include "PrintCore/PMErrors.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef const void* PMObject;
typedef struct OpaquePMPrintSession* PMPrintSession;
typedef struct OpaquePMPrinter* PMPrinter;

// Names of the session data that hold the job's tickets as numbers.
#define kPDE_PMPrintSettingsRef CFSTR("PMPrintSettingsTicket")
#define kPDE_PMPageFormatRef CFSTR("PMPageFormatTicket")
#define kPDE_PMPrinterInfoRef CFSTR("PMPrinterInfoTicket")

// Makes an empty session (no data, no current printer) with one reference.
// kPMInvalidParameter for a NULL pointer, kPMAllocationFailure when memory runs out (the session
// is then NULL).
OSStatus PMCreateSession(PMPrintSession* printSession);

// Add and drop a reference to a session or a printer. kPMInvalidParameter for NULL or for anything
// that is not a live session or printer.
OSStatus PMRetain(PMObject object);
OSStatus PMRelease(PMObject object);

// The value stored under `key` (not retained for the caller). kPMInvalidParameter for a NULL key
// or out pointer, kPMInvalidPrintSession for a NULL or released session, kPMInvalidPrintSettings
// when the session holds nothing under the key; *data is NULL after every failure.
OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key, CFTypeRef* data);
// Stores `data` under `key`, replacing what was there; the session retains it.
// kPMInvalidParameter for a NULL key or value, kPMInvalidPrintSession as above.
OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key, CFTypeRef data);

// The session's current printer (owned by the session, not retained for the caller).
// kPMInvalidParameter for a NULL out pointer, kPMInvalidPrintSession as above, kPMInvalidPrinter
// when the session has no printer; *currentPrinter is NULL after every failure.
OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_PMSESSION_H
