#include "PrintCore/HalyxPrintHost.h"

#include <string.h>

#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFURL.h"
#include "PrintCore/PrintObjects.h"

namespace {

// The ticket whose number the session keeps under `name`.
OSStatus SessionTicket(PMPrintSession session, CFStringRef name, PMTicketRef* ticket) {
    *ticket = nullptr;
    CFTypeRef data = nullptr;
    OSStatus status = PMSessionGetDataFromSession(session, name, &data);
    if (status != kPMNoError) return status;
    SInt32 number = 0;
    if (CFGetTypeID(data) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &number)) {
        return kPMInvalidValue;
    }
    *ticket = HalyxTicketRefFromNumber(number);
    return kPMNoError;
}

CFURLRef CreateFileURL(const char* path) {
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                   reinterpret_cast<const UInt8*>(path),
                                                   static_cast<CFIndex>(strlen(path)), false);
}

// Makes a ticket of `type`, lets `fill` write its items and hands it to the session under `name`.
template <typename Fill>
OSStatus AddTicket(PMPrintSession session, CFStringRef type, CFStringRef name, Fill fill) {
    PMTicketRef ticket = nullptr;
    OSStatus status = PMTicketCreate(kCFAllocatorDefault, type, &ticket);
    if (status == kPMNoError) status = fill(ticket);
    if (status == kPMNoError) status = HalyxSessionAdoptTicket(session, name, ticket);
    if (status != kPMNoError && ticket != nullptr) PMTicketRelease(ticket);
    return status;
}

OSStatus FillPrinterInfo(PMTicketRef ticket, CFURLRef ppdURL, CFDataRef ppdBytes) {
    CFStringRef path = CFURLCopyFileSystemPath(ppdURL, kCFURLPOSIXPathStyle);
    CFURLRef bare = CFURLCreateCopyDeletingPathExtension(kCFAllocatorDefault, ppdURL);
    CFStringRef name = bare != nullptr ? CFURLCopyLastPathComponent(bare) : nullptr;
    OSStatus status = kPMAllocationFailure;
    if (path != nullptr && name != nullptr) {
        status = PMTicketSetCFString(ticket, kHalyxPrintHostClient, kPMPrinterLongNameKey, name,
                                     kPMUnlocked);
        if (status == kPMNoError) {
            status = PMTicketSetCFString(ticket, kHalyxPrintHostClient, kPMDescriptionFileKey, path,
                                         kPMUnlocked);
        }
        if (status == kPMNoError) {
            status = PMTicketSetCFData(ticket, kHalyxPrintHostClient, kPMCompiledPPDKey, ppdBytes,
                                       kPMUnlocked);
        }
    }
    if (path != nullptr) CFRelease(path);
    if (name != nullptr) CFRelease(name);
    if (bare != nullptr) CFRelease(bare);
    return status;
}

OSStatus BuildSession(PMPrintSession session, CFURLRef ppdURL, CFDataRef ppdBytes) {
    session->printer = HalyxNewPrinter(ppdURL);
    if (session->printer == nullptr) return kPMAllocationFailure;
    OSStatus status =
        AddTicket(session, kPMPrintSettingsTicket, kPDE_PMPrintSettingsRef, [](PMTicketRef ticket) {
            OSStatus s =
                PMTicketSetSInt32(ticket, kHalyxPrintHostClient, kPMLayoutRowsKey, 1, kPMUnlocked);
            if (s != kPMNoError) return s;
            return PMTicketSetSInt32(ticket, kHalyxPrintHostClient, kPMLayoutColumnsKey, 1,
                                     kPMUnlocked);
        });
    if (status != kPMNoError) return status;
    status = AddTicket(session, kPMPageFormatTicket, kPDE_PMPageFormatRef, [](PMTicketRef ticket) {
        return PMTicketSetSInt32(ticket, kHalyxPrintHostClient, kPMOrientationKey, kPMPortrait,
                                 kPMUnlocked);
    });
    if (status != kPMNoError) return status;
    return AddTicket(session, kPMPrinterInfoTicket, kPDE_PMPrinterInfoRef,
                     [ppdURL, ppdBytes](PMTicketRef ticket) {
                         return FillPrinterInfo(ticket, ppdURL, ppdBytes);
                     });
}

}  // namespace

OSStatus HalyxCreatePrintSession(const char* ppdPath, PMPrintSession* session) {
    if (session == nullptr) return kPMInvalidParameter;
    *session = nullptr;
    if (ppdPath == nullptr || ppdPath[0] == '\0') return kPMInvalidParameter;
    CFURLRef ppdURL = CreateFileURL(ppdPath);
    if (ppdURL == nullptr) return kPMInvalidParameter;
    CFDataRef ppdBytes = nullptr;
    SInt32 readStatus = 0;
    // Mapped, not read: the pane only asks whether the item is there, and a PPD of hundreds of
    // megabytes would otherwise be held twice while the pane's model is built from the file.
    if (!HalyxCFURLCreateMappedDataFromResource(ppdURL, &ppdBytes, &readStatus)) {
        CFRelease(ppdURL);
        return readStatus != 0 ? readStatus : ioErr;
    }
    PMPrintSession made = nullptr;
    OSStatus status = PMCreateSession(&made);
    if (status == kPMNoError) status = BuildSession(made, ppdURL, ppdBytes);
    CFRelease(ppdBytes);
    CFRelease(ppdURL);
    if (status != kPMNoError) {
        if (made != nullptr) PMRelease(made);
        return status;
    }
    *session = made;
    return kPMNoError;
}

OSStatus HalyxSessionAdoptTicket(PMPrintSession session, CFStringRef name, PMTicketRef ticket) {
    PMPrintSession live = HalyxLiveSession(session);
    if (live == nullptr) return kPMInvalidPrintSession;
    if (name == nullptr) return kPMInvalidParameter;
    CFStringRef type = nullptr;
    if (PMTicketGetType(ticket, &type) != kPMNoError) return kPMInvalidTicket;
    SInt32 number = HalyxTicketRefToNumber(ticket);
    CFNumberRef value = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &number);
    if (value == nullptr) return kPMAllocationFailure;
    OSStatus status = PMSessionSetDataInSession(live, name, value);
    CFRelease(value);
    if (status == kPMNoError) live->tickets.push_back(ticket);
    return status;
}

OSStatus HalyxSessionSetOrientation(PMPrintSession session, PMOrientation orientation) {
    if (HalyxLiveSession(session) == nullptr) return kPMInvalidPrintSession;
    if (orientation < kPMPortrait || orientation > kPMReverseLandscape) return kPMInvalidParameter;
    PMTicketRef ticket = nullptr;
    OSStatus status = SessionTicket(session, kPDE_PMPageFormatRef, &ticket);
    if (status != kPMNoError) return status;
    return PMTicketSetSInt32(ticket, kHalyxPrintHostClient, kPMOrientationKey, orientation,
                             kPMUnlocked);
}

OSStatus HalyxSessionSetLayout(PMPrintSession session, SInt32 rows, SInt32 columns) {
    if (HalyxLiveSession(session) == nullptr) return kPMInvalidPrintSession;
    if (rows < 1 || columns < 1) return kPMInvalidParameter;
    PMTicketRef ticket = nullptr;
    OSStatus status = SessionTicket(session, kPDE_PMPrintSettingsRef, &ticket);
    if (status == kPMNoError) {
        status =
            PMTicketSetSInt32(ticket, kHalyxPrintHostClient, kPMLayoutRowsKey, rows, kPMUnlocked);
    }
    if (status == kPMNoError) {
        status = PMTicketSetSInt32(ticket, kHalyxPrintHostClient, kPMLayoutColumnsKey, columns,
                                   kPMUnlocked);
    }
    return status;
}

OSStatus HalyxSessionSetPrinterPPD(PMPrintSession session, const char* ppdPath) {
    PMPrintSession live = HalyxLiveSession(session);
    if (live == nullptr) return kPMInvalidPrintSession;
    if (ppdPath != nullptr && ppdPath[0] == '\0') return kPMInvalidParameter;
    CFURLRef ppdURL = ppdPath != nullptr ? CreateFileURL(ppdPath) : nullptr;
    if (ppdPath != nullptr && ppdURL == nullptr) return kPMInvalidParameter;
    PMPrinter printer = HalyxNewPrinter(ppdURL);
    if (printer == nullptr) {
        if (ppdURL != nullptr) CFRelease(ppdURL);
        return kPMAllocationFailure;
    }
    if (live->printer != nullptr) PMRelease(live->printer);
    live->printer = printer;

    OSStatus status = kPMNoError;
    PMTicketRef info = nullptr;
    if (SessionTicket(live, kPDE_PMPrinterInfoRef, &info) == kPMNoError) {
        if (ppdURL == nullptr) {
            PMTicketReleaseItem(info, kPMDescriptionFileKey);
        } else {
            CFStringRef path = CFURLCopyFileSystemPath(ppdURL, kCFURLPOSIXPathStyle);
            status = path != nullptr ? PMTicketSetCFString(info, kHalyxPrintHostClient,
                                                           kPMDescriptionFileKey, path, kPMUnlocked)
                                     : kPMAllocationFailure;
            if (path != nullptr) CFRelease(path);
        }
    }
    if (ppdURL != nullptr) CFRelease(ppdURL);
    return status;
}
