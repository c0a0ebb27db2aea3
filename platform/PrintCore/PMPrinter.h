// Printers: what a pane may ask of the printer that a session prints to.
#ifndef HALYX_PLATFORM_PRINTCORE_PMPRINTER_H
#define HALYX_PLATFORM_PRINTCORE_PMPRINTER_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "PrintCore/PMErrors.h"
#include "PrintCore/PMSession.h"

#ifdef __cplusplus
extern "C" {
#endif

// The description type that names a printer's PPD file.
#define kPMPPDDescriptionType CFSTR("PMPPDDescriptionType")

// The file URL of the printer's description of `descriptionType`, for the caller to release.
// The file is not looked at: a URL of a missing file is still returned. kPMInvalidParameter for a
// NULL out pointer or a NULL or unknown description type, kPMInvalidPrinter for a NULL or
// released printer, kPMKeyNotFound for a printer that has no PPD; *fileURL is NULL after every
// failure.
OSStatus PMPrinterCopyDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                     CFURLRef* fileURL);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_PMPRINTER_H
