#include "Core/PrinterInfoTicket.h"

#include "CoreFoundation/CFNumber.h"
#include "foundation/CString.h"

namespace {
#define PRINTER_INFO_KEY(name) CFSTR("com.apple.print.PrinterInfo." name)
const CFStringRef kLongNameKey = PRINTER_INFO_KEY("PMPrinterLongName");
const CFStringRef kMakeAndModelKey = PRINTER_INFO_KEY("PMMakeAndModelName");
const CFStringRef kAddressKey = PRINTER_INFO_KEY("PMPrinterAddress");
const CFStringRef kColorKey = PRINTER_INFO_KEY("PMSupportsColor");
const CFStringRef kCopiesKey = PRINTER_INFO_KEY("PMDoesCopies");
const CFStringRef kCollateKey = PRINTER_INFO_KEY("PMDoesCopyCollate");
const CFStringRef kReverseKey = PRINTER_INFO_KEY("PMDoesReverseOrder");
const CFStringRef kInputFilesKey = PRINTER_INFO_KEY("PMInputFileTypeList");
const CFStringRef kOutputTypesKey = PRINTER_INFO_KEY("PMOutputTypeList");
const CFStringRef kLevelKey = PRINTER_INFO_KEY("PMPostScriptLevel");
const CFStringRef kVersionKey = PRINTER_INFO_KEY("PMPSVersion");
const CFStringRef kRevisionKey = PRINTER_INFO_KEY("PMPSRevision");
const CFStringRef kRasterizerKey = PRINTER_INFO_KEY("PMPSTTRasterizer");
const CFStringRef kMemoryKey = PRINTER_INFO_KEY("PMTotalMemInstalled");
const CFStringRef kDescriptionFileKey = PRINTER_INFO_KEY("PMDescriptionFile");
const CFStringRef kColorDeviceKey = PRINTER_INFO_KEY("PMColorDeviceID");
#undef PRINTER_INFO_KEY

// A number that fits a signed 32-bit integer exactly, else -1.
SInt32 NumberOrMinusOne(CFTypeRef value) {
    SInt32 number = -1;
    if (CFGetTypeID(value) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &number))
        return -1;
    return number;
}
}  // namespace

PrinterInfoTicket::PrinterInfoTicket(PMPrintSession session)
    : JobTicket(session, kPDE_PMPrinterInfoRef), mLookupStatus(mStatus) {}

CFTypeRef PrinterInfoTicket::Lookup(CFStringRef key) {
    CFTypeRef value = nullptr;
    if (mTicket == nullptr) {
        mLookupStatus = kPMInvalidTicket;
        return nullptr;
    }
    mLookupStatus = PMTicketGetItem(mTicket, kPMTopLevel, kPMTopLevel, key, &value);
    return mLookupStatus == noErr ? value : nullptr;
}

CFStringRef PrinterInfoTicket::LookupString(CFStringRef key) {
    CFTypeRef value = Lookup(key);
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) return nullptr;
    return static_cast<CFStringRef>(value);
}

bool PrinterInfoTicket::LookupTrue(CFStringRef key) {
    CFTypeRef value = Lookup(key);
    return value != nullptr && CFGetTypeID(value) == CFBooleanGetTypeID() &&
           CFBooleanGetValue(static_cast<CFBooleanRef>(value));
}

SInt32 PrinterInfoTicket::LookupInt(CFStringRef key) {
    CFTypeRef value = Lookup(key);
    SInt32 number = 0;
    if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &number))
        return 0;
    return number;
}

CFStringRef PrinterInfoTicket::GetFullPrinterTypeName() {
    return LookupString(kLongNameKey);
}

bool PrinterInfoTicket::GetFullPrinterTypeName(CString& name) {
    CFStringRef value = GetFullPrinterTypeName();
    if (value == nullptr) return false;
    name = value;
    return true;
}

CFStringRef PrinterInfoTicket::GetPrinterMakeAndModel() {
    return LookupString(kMakeAndModelKey);
}

bool PrinterInfoTicket::GetPrinterMakeAndModel(CString& name) {
    CFStringRef value = GetPrinterMakeAndModel();
    if (value == nullptr) return false;
    name = value;
    return true;
}

CFTypeRef PrinterInfoTicket::GetPrinterAddress() {
    return Lookup(kAddressKey);
}

bool PrinterInfoTicket::SupportColor() {
    return LookupTrue(kColorKey);
}
bool PrinterInfoTicket::SupportCopies() {
    return LookupTrue(kCopiesKey);
}
bool PrinterInfoTicket::SupportCopiesAndCollate() {
    return LookupTrue(kCollateKey);
}
bool PrinterInfoTicket::SupportReversePrintingOrder() {
    return LookupTrue(kReverseKey);
}

CFTypeRef PrinterInfoTicket::InputFileList() {
    return Lookup(kInputFilesKey);
}
CFTypeRef PrinterInfoTicket::OutputTypeList() {
    return Lookup(kOutputTypesKey);
}

bool PrinterInfoTicket::PostscriptVersion(CFTypeRef* level, CFTypeRef* version,
                                          CFTypeRef* revision) {
    bool delivered = false;
    CFTypeRef* outs[] = {level, version, revision};
    const CFStringRef keys[] = {kLevelKey, kVersionKey, kRevisionKey};
    for (int i = 0; i < 3; ++i) {
        if (outs[i] == nullptr) continue;
        *outs[i] = Lookup(keys[i]);
        if (*outs[i] != nullptr) delivered = true;
    }
    return delivered;
}

bool PrinterInfoTicket::PostscriptVersion(SInt32* level, CString* version, SInt32* revision) {
    CFTypeRef rawLevel = nullptr;
    CFTypeRef rawVersion = nullptr;
    CFTypeRef rawRevision = nullptr;
    PostscriptVersion(level != nullptr ? &rawLevel : nullptr,
                      version != nullptr ? &rawVersion : nullptr,
                      revision != nullptr ? &rawRevision : nullptr);
    bool delivered = false;
    if (rawLevel != nullptr) {
        *level = NumberOrMinusOne(rawLevel);
        delivered = true;
    }
    if (rawVersion != nullptr && CFGetTypeID(rawVersion) == CFStringGetTypeID()) {
        *version = static_cast<CFStringRef>(rawVersion);
        delivered = true;
    }
    if (rawRevision != nullptr) {
        *revision = NumberOrMinusOne(rawRevision);
        delivered = true;
    }
    return delivered;
}

SInt32 PrinterInfoTicket::TrueTypeFontRasterizer() {
    return LookupInt(kRasterizerKey);
}
SInt32 PrinterInfoTicket::MemoryInstalled() {
    return LookupInt(kMemoryKey);
}

CFStringRef PrinterInfoTicket::PPDFile() {
    return LookupString(kDescriptionFileKey);
}

bool PrinterInfoTicket::PPDFile(CString& path) {
    path = "";
    CFStringRef value = PPDFile();
    if (value == nullptr) return false;
    path = value;
    return true;
}

CFStringRef PrinterInfoTicket::GetColorDeviceUUID() {
    return LookupString(kColorDeviceKey);
}

bool PrinterInfoTicket::GetColorDeviceUUID(CString& uuid) {
    uuid = "";
    CFStringRef value = GetColorDeviceUUID();
    if (value == nullptr) return false;
    uuid = value;
    return true;
}
