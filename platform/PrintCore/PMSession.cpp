#include "PrintCore/PMSession.h"

#include "PrintCore/PrintObjects.h"

OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                     CFTypeRef* data) {
    if (data == nullptr) return kPMInvalidParameter;
    *data = nullptr;
    PMPrintSession session = HalyxLiveSession(printSession);
    if (session == nullptr) return kPMInvalidPrintSession;
    if (key == nullptr) return kPMInvalidParameter;
    CFTypeRef value = CFDictionaryGetValue(session->data, key);
    if (value == nullptr) return kPMInvalidPrintSettings;
    *data = value;
    return kPMNoError;
}

OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key, CFTypeRef data) {
    PMPrintSession session = HalyxLiveSession(printSession);
    if (session == nullptr) return kPMInvalidPrintSession;
    if (key == nullptr || data == nullptr) return kPMInvalidParameter;
    CFDictionarySetValue(session->data, key, data);
    return kPMNoError;
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter) {
    if (currentPrinter == nullptr) return kPMInvalidParameter;
    *currentPrinter = nullptr;
    PMPrintSession session = HalyxLiveSession(printSession);
    if (session == nullptr) return kPMInvalidPrintSession;
    if (session->printer == nullptr) return kPMInvalidPrinter;
    *currentPrinter = session->printer;
    return kPMNoError;
}
