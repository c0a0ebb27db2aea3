// Lifetime of sessions and printers: the sets of live objects, retain and release.
#include "PrintCore/PrintObjects.h"

#include <new>
#include <unordered_set>

#include "testing/FailureInjection.h"

namespace {

// Live objects by address, so that a released or foreign reference is refused rather than read.
std::unordered_set<const void*>& LiveSessions() {
    static std::unordered_set<const void*> sessions;
    return sessions;
}
std::unordered_set<const void*>& LivePrinters() {
    static std::unordered_set<const void*> printers;
    return printers;
}

void DestroyPrinter(PMPrinter printer) {
    LivePrinters().erase(printer);
    if (printer->ppdURL != nullptr) CFRelease(printer->ppdURL);
    delete printer;
}

void DestroySession(PMPrintSession session) {
    LiveSessions().erase(session);
    for (PMTicketRef ticket : session->tickets) PMTicketRelease(ticket);
    if (session->printer != nullptr) PMRelease(session->printer);
    CFRelease(session->data);
    delete session;
}

}  // namespace

PMPrintSession HalyxLiveSession(PMPrintSession session) {
    return LiveSessions().count(session) != 0 ? session : nullptr;
}

PMPrinter HalyxLivePrinter(PMPrinter printer) {
    return LivePrinters().count(printer) != 0 ? printer : nullptr;
}

PMPrinter HalyxNewPrinter(CFURLRef ppdURL) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    PMPrinter printer = new (std::nothrow) OpaquePMPrinter;
    if (printer == nullptr) return nullptr;
    if (ppdURL != nullptr) printer->ppdURL = static_cast<CFURLRef>(CFRetain(ppdURL));
    LivePrinters().insert(printer);
    return printer;
}

OSStatus PMCreateSession(PMPrintSession* printSession) {
    if (printSession == nullptr) return kPMInvalidParameter;
    *printSession = nullptr;
    if (HalyxShouldFail(kHalyxFailAllocation)) return kPMAllocationFailure;
    PMPrintSession session = new (std::nothrow) OpaquePMPrintSession;
    if (session == nullptr) return kPMAllocationFailure;
    session->data = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    LiveSessions().insert(session);
    *printSession = session;
    return kPMNoError;
}

OSStatus PMRetain(PMObject object) {
    if (object == nullptr) return kPMInvalidParameter;
    if (LiveSessions().count(object) != 0) {
        ++static_cast<PMPrintSession>(const_cast<void*>(object))->references;
        return kPMNoError;
    }
    if (LivePrinters().count(object) != 0) {
        ++static_cast<PMPrinter>(const_cast<void*>(object))->references;
        return kPMNoError;
    }
    return kPMInvalidParameter;
}

OSStatus PMRelease(PMObject object) {
    if (object == nullptr) return kPMInvalidParameter;
    if (LiveSessions().count(object) != 0) {
        PMPrintSession session = static_cast<PMPrintSession>(const_cast<void*>(object));
        if (--session->references == 0) DestroySession(session);
        return kPMNoError;
    }
    if (LivePrinters().count(object) != 0) {
        PMPrinter printer = static_cast<PMPrinter>(const_cast<void*>(object));
        if (--printer->references == 0) DestroyPrinter(printer);
        return kPMNoError;
    }
    return kPMInvalidParameter;
}
