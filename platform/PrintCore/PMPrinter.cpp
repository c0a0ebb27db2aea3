#include "PrintCore/PMPrinter.h"

#include "PrintCore/PrintObjects.h"

OSStatus PMPrinterCopyDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                     CFURLRef* fileURL) {
    if (fileURL == nullptr) return kPMInvalidParameter;
    *fileURL = nullptr;
    PMPrinter live = HalyxLivePrinter(printer);
    if (live == nullptr) return kPMInvalidPrinter;
    if (descriptionType == nullptr || !CFEqual(descriptionType, kPMPPDDescriptionType)) {
        return kPMInvalidParameter;
    }
    if (live->ppdURL == nullptr) return kPMKeyNotFound;
    *fileURL = static_cast<CFURLRef>(CFRetain(live->ppdURL));
    return kPMNoError;
}
