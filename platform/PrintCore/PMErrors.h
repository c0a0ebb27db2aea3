// Status codes of the print sessions and tickets, with the original platform's values.
//
// Which call returns which is written beside each call in PMSession.h, PMPrinter.h and PMTicket.h.
#ifndef HALYX_PLATFORM_PRINTCORE_PMERRORS_H
#define HALYX_PLATFORM_PRINTCORE_PMERRORS_H

#include "Base/MacErrors.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    kPMNoError = noErr,
    kPMInvalidParameter = paramErr,  // a null or meaningless argument
    kPMAllocationFailure = memFullErr,

    // Sessions and printers
    kPMGeneralError = -30870,
    kPMNoSuchEntry = -30874,
    kPMInvalidPrintSettings = -30875,  // also: the session holds no data under a name
    kPMInvalidPageFormat = -30876,
    kPMInvalidPrintSession = -30879,  // a null or released session
    kPMInvalidPrinter = -30880,       // a null printer, or a session without a current printer

    // Tickets
    kPMInvalidIndex = -30882,   // a node index other than the top level
    kPMInvalidKey = -30888,     // a null key
    kPMInvalidValue = -30889,   // a value that cannot be read as the type asked for
    kPMInvalidTicket = -30891,  // a null or released ticket
    kPMInvalidItem = -30892,    // a null item handed to a set
    kPMInvalidType = -30893,    // an item of another type than the call reads or writes

    // Print dialog extensions
    kPMInvalidPDEContext = -9530,

    // Ticket items
    kPMItemIsLocked = -9586,  // a locked item written by a client other than the one that locked it
    kPMKeyNotFound = -9589    // no item under the key
};

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_PMERRORS_H
