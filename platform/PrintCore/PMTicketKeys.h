// The ticket item keys that the print host writes and the orientation values of a page format.
#ifndef HALYX_PLATFORM_PRINTCORE_PMTICKETKEYS_H
#define HALYX_PLATFORM_PRINTCORE_PMTICKETKEYS_H

#include "CoreFoundation/CFString.h"

#ifdef __cplusplus
extern "C" {
#endif

// Page format: the orientation, a 32-bit number holding one of the PMOrientation values.
#define kPMOrientationKey CFSTR("com.apple.print.PageFormat.PMOrientation")

// Print settings: the pages per sheet as rows and columns, and the number of copies.
#define kPMLayoutRowsKey CFSTR("com.apple.print.PrintSettings.PMLayoutRows")
#define kPMLayoutColumnsKey CFSTR("com.apple.print.PrintSettings.PMLayoutColumns")
#define kPMCopiesKey CFSTR("com.apple.print.PrintSettings.PMCopies")

// Printer info: the printer's name, the path of its PPD file, and its compiled PPD (the file's
// bytes as data; its presence says that the printer is driven by a PPD).
#define kPMPrinterLongNameKey CFSTR("com.apple.print.PrinterInfo.PMPrinterLongName")
#define kPMDescriptionFileKey CFSTR("com.apple.print.PrinterInfo.PMDescriptionFile")
#define kPMCompiledPPDKey CFSTR("com.apple.print.PrinterInfo.PMCompiledPPD")

typedef UInt16 PMOrientation;
enum { kPMPortrait = 1, kPMLandscape = 2, kPMReversePortrait = 3, kPMReverseLandscape = 4 };

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_PMTICKETKEYS_H
