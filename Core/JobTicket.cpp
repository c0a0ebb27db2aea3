#include "Core/JobTicket.h"

#include "CoreFoundation/CFNumber.h"
#include "Core/DebugPrintf.h"

JobTicket::JobTicket(CFStringRef ticketType)
    : mSession(nullptr), mTicket(nullptr), mOwns(true), mStatus(noErr), mValid(false) {
    mStatus = PMTicketCreate(kCFAllocatorDefault, ticketType, &mTicket);
    mValid = (mStatus == noErr);
}

JobTicket::JobTicket(PMPrintSession session)
    : mSession(session), mTicket(nullptr), mOwns(false), mStatus(noErr), mValid(false) {
    FindSessionTicket(kPDE_PMPrintSettingsRef);
    mValid = (session != nullptr);
}

JobTicket::JobTicket(PMPrintSession session, CFStringRef sessionKey)
    : mSession(session), mTicket(nullptr), mOwns(false), mStatus(noErr), mValid(false) {
    FindSessionTicket(sessionKey);
    mValid = (mStatus == noErr && mTicket != nullptr);
}

JobTicket::~JobTicket() {
    if (mOwns && mTicket != nullptr) PMTicketReleaseAndClear(&mTicket);
}

void JobTicket::FindSessionTicket(CFStringRef sessionKey) {
    SInt32 number = 0;
    if (Get(sessionKey, &number) == noErr) mTicket = HalyxTicketRefFromNumber(number);
}

OSStatus JobTicket::Get(CFStringRef key, SInt32* value) {
    if (value != nullptr) *value = 0;
    CFTypeRef data = nullptr;
    mStatus = PMSessionGetDataFromSession(mSession, key, &data);
    if (mStatus != noErr) {
        mStatus = kPMInvalidPrintSettings;
        return mStatus;
    }
    SInt32 number = 0;
    if (value == nullptr || data == nullptr || CFGetTypeID(data) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &number)) {
        mStatus = kPMInvalidValue;
        return mStatus;
    }
    *value = number;
    mStatus = number == 0 ? static_cast<OSStatus>(kPMInvalidPrintSettings) : noErr;
    DebugPrintf("session data: %d (%d)\n", static_cast<int>(number), static_cast<int>(mStatus));
    return mStatus;
}

OSStatus JobTicket::Get(CFStringRef key, CFDataRef* value) {
    if (value != nullptr) *value = nullptr;
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketGetCFData(mTicket, kPMTopLevel, kPMTopLevel, key, value);
}

OSStatus JobTicket::Get(CFStringRef key, CFStringRef* value) {
    if (value != nullptr) *value = nullptr;
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketGetCFString(mTicket, kPMTopLevel, kPMTopLevel, key, value);
}

OSStatus JobTicket::Get(CFStringRef key, CFDictionaryRef* value) {
    if (value != nullptr) *value = nullptr;
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketGetCFDictionary(mTicket, kPMTopLevel, kPMTopLevel, key, value);
}

OSStatus JobTicket::GetInt(CFStringRef key, SInt32* value) {
    if (value != nullptr) *value = 0;
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketGetSInt32(mTicket, kPMTopLevel, kPMTopLevel, key, value);
}

OSStatus JobTicket::GetItem(CFStringRef key, CFTypeRef* value) {
    if (value != nullptr) *value = nullptr;
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketGetItem(mTicket, kPMTopLevel, kPMTopLevel, key, value);
}

OSStatus JobTicket::Set(CFStringRef client, CFStringRef key, CFArrayRef value, Boolean locked) {
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketSetCFArray(mTicket, client, key, value, locked);
}

OSStatus JobTicket::Set(CFStringRef client, CFStringRef key, CFStringRef value, Boolean locked) {
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    mStatus = PMTicketSetCFString(mTicket, client, key, value, locked);
    DebugPrintf("set string item: %d\n", static_cast<int>(mStatus));
    return mStatus;
}

OSStatus JobTicket::Set(CFStringRef client, CFStringRef key, CFDataRef value, Boolean locked) {
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    mStatus = PMTicketSetCFData(mTicket, client, key, value, locked);
    DebugPrintf("set data item: %d\n", static_cast<int>(mStatus));
    return mStatus;
}

OSStatus JobTicket::Set(CFStringRef client, CFStringRef key, CFDictionaryRef value,
                        Boolean locked) {
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketSetCFDictionary(mTicket, client, key, value, locked);
}

OSStatus JobTicket::Set(CFStringRef client, CFStringRef key, SInt32 value, Boolean locked) {
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketSetSInt32(mTicket, client, key, value, locked);
}

OSStatus JobTicket::Release(CFStringRef key) {
    if (mTicket == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = PMTicketReleaseItem(mTicket, key);
}
