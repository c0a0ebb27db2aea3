// What a print host (the command-line tool, a test) uses to stand in for the print dialog: a
// session on a printer whose PPD is a file, with the tickets the dialog would hand to a pane.
//
// The host writes its items as the client kHalyxPrintHostClient, unlocked, so that a pane may
// overwrite them.
#ifndef HALYX_PLATFORM_PRINTCORE_HALYXPRINTHOST_H
#define HALYX_PLATFORM_PRINTCORE_HALYXPRINTHOST_H

#include "Base/MacTypes.h"
#include "PrintCore/PMErrors.h"
#include "PrintCore/PMSession.h"
#include "PrintCore/PMTicket.h"
#include "PrintCore/PMTicketKeys.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kHalyxPrintHostClient CFSTR("com.halyx.print.host")

// Makes a session whose current printer uses the PPD file at `ppdPath` (a POSIX path; a relative
// one is taken from the current directory), with three tickets, each kept by the session as a
// number under its name:
// - print settings (kPDE_PMPrintSettingsRef): one page per sheet, kPMLayoutRowsKey and
//   kPMLayoutColumnsKey both 1;
// - page format (kPDE_PMPageFormatRef): kPMOrientationKey kPMPortrait;
// - printer info (kPDE_PMPrinterInfoRef): kPMPrinterLongNameKey (the file name without its
//   extension), kPMDescriptionFileKey (the absolute path) and kPMCompiledPPDKey (the file's bytes,
//   mapped rather than read).
// The session owns the printer and the tickets; PMRelease of the session frees them all.
// kPMInvalidParameter for a NULL or empty path or a NULL out pointer; the read status of the file
// (fnfErr -43, permErr -54, ioErr -36, ...) when it cannot be read; kPMAllocationFailure. On every
// failure *session is NULL and nothing is left behind.
OSStatus HalyxCreatePrintSession(const char* ppdPath, PMPrintSession* session);

// Gives the session the caller's reference to `ticket` and stores the ticket's number under
// `name` (replacing any number there; a ticket the session held before stays held until the
// session goes). kPMInvalidPrintSession, kPMInvalidParameter for a NULL name, kPMInvalidTicket.
OSStatus HalyxSessionAdoptTicket(PMPrintSession session, CFStringRef name, PMTicketRef ticket);

// Writes the page format's orientation (kPMPortrait .. kPMReverseLandscape).
// kPMInvalidPrintSession, kPMInvalidParameter for another value, or the status of finding the
// page-format ticket (kPMInvalidPrintSettings when the session has none).
OSStatus HalyxSessionSetOrientation(PMPrintSession session, PMOrientation orientation);

// Writes the pages per sheet as rows and columns into the print settings (2 x 1 prints two-up).
// kPMInvalidParameter for a count below 1; otherwise as HalyxSessionSetOrientation.
OSStatus HalyxSessionSetLayout(PMPrintSession session, SInt32 rows, SInt32 columns);

// Gives the session a new current printer whose PPD is `ppdPath`, without reading the file, and
// writes the absolute path into the printer info's kPMDescriptionFileKey when the session has a
// printer-info ticket; with a NULL path the printer has no PPD and the item is removed. The
// compiled PPD item is left as it was. The previous printer is released.
// kPMInvalidPrintSession, kPMInvalidParameter for an empty path, kPMAllocationFailure.
OSStatus HalyxSessionSetPrinterPPD(PMPrintSession session, const char* ppdPath);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_HALYXPRINTHOST_H
