#include "Core/PrinterLookup.h"

#include <new>

#include "CoreFoundation/CFNumber.h"
#include "Core/BundleLookup.h"
#include "Core/PrinterListFile.h"
#include "Files/FileURL.h"
#include "PrintCore/PMPrinter.h"
#include "parser/ORBPPD.h"

OSStatus GetPPDFile(PMPrintSession session, CFURLRef* url, FSRef* fileRef) {
    if (url == nullptr || fileRef == nullptr) return paramErr;
    *url = nullptr;
    PMPrinter printer = nullptr;
    OSStatus status = PMSessionGetCurrentPrinter(session, &printer);
    if (status != noErr) return status;
    status = PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, url);
    if (status != noErr) return status;
    if (!CFURLGetFSRef(*url, fileRef)) return fnfErr;
    return noErr;
}

ORBPPD* SetupPPD(PMPrintSession session, CFStringRef bundleIdentifier) {
    CFURLRef ppdURL = nullptr;
    FSRef fileRef;
    if (GetPPDFile(session, &ppdURL, &fileRef) != noErr) {
        if (ppdURL != nullptr) CFRelease(ppdURL);
        return nullptr;
    }
    CFURLRef contents = CreatePDEContentsURL(bundleIdentifier);
    if (contents == nullptr) {
        CFRelease(ppdURL);
        return nullptr;
    }
    ORBPPD* model = nullptr;
    {
        PrinterListFile printers(contents, kCFPropertyListImmutable);
        if (printers.Loaded()) {
            const _PARSE_OPTIONS_ options = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;
            model = new (std::nothrow) ORBPPD(ppdURL, options, printers.Names());
            // The answer is not needed: a model whose name check failed has no controls, and
            // the pane's lists built from it are not valid.
            if (model != nullptr && model->IsValidPrinterName()) (void)model->IsValidPPD();
        }
    }
    CFRelease(contents);
    CFRelease(ppdURL);
    return model;
}

OSStatus MyGetTicket(PMPrintSession session, CFStringRef ticketName, PMTicketRef* ticket) {
    if (ticket == nullptr) return paramErr;
    *ticket = nullptr;
    CFTypeRef data = nullptr;
    OSStatus status = PMSessionGetDataFromSession(session, ticketName, &data);
    if (status != noErr) return status;
    SInt32 number = 0;
    if (data == nullptr || CFGetTypeID(data) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &number))
        return kPMInvalidValue;
    *ticket = HalyxTicketRefFromNumber(number);
    return noErr;
}
