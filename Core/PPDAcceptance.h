// Whether the pane serves a printer's PPD: its *PCFileName is one of the printer list's names.
// Every dialog that opens asks this of the same file and the same list, so the last answer is kept
// for as long as the file stays as it was and the list is the same reading of the printer list.
#ifndef HALYX_CORE_PPDACCEPTANCE_H
#define HALYX_CORE_PPDACCEPTANCE_H

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFURL.h"

// As PPDX::ValidateFileName(ppd, names, nullptr).
bool IsAcceptedPPD(CFURLRef ppd, CFArrayRef names);

#endif  // HALYX_CORE_PPDACCEPTANCE_H
