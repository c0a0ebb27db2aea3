// The printer-info ticket of a print session: what the printing system knows about the printer.
//
// Each accessor reads one top-level item and answers null, false or 0 when the ticket is missing or
// the item cannot be read. Values come back as the ticket holds them, not retained for the caller;
// the CString overloads copy the text instead. The status of the last lookup is LookupStatus().
#ifndef HALYX_CORE_PRINTERINFOTICKET_H
#define HALYX_CORE_PRINTERINFOTICKET_H

#include "Core/JobTicket.h"

class CString;

class PrinterInfoTicket : public JobTicket {
public:
    explicit PrinterInfoTicket(PMPrintSession session);

    CFStringRef GetFullPrinterTypeName();
    bool GetFullPrinterTypeName(CString& name);
    CFStringRef GetPrinterMakeAndModel();
    bool GetPrinterMakeAndModel(CString& name);
    CFTypeRef GetPrinterAddress();

    // True only when the item is the boolean true.
    bool SupportColor();
    bool SupportCopies();
    bool SupportCopiesAndCollate();
    bool SupportReversePrintingOrder();

    CFTypeRef InputFileList();
    CFTypeRef OutputTypeList();

    // The level, version and revision items as stored; each pointer may be null, and each given
    // one is cleared when its lookup fails. True when any value was delivered.
    bool PostscriptVersion(CFTypeRef* level, CFTypeRef* version, CFTypeRef* revision);
    // The same as numbers and text, filling only what is given; a level or revision that is not a
    // 32-bit number is reported as -1. True when any value was delivered.
    bool PostscriptVersion(SInt32* level, CString* version, SInt32* revision);

    // 0 when absent.
    SInt32 TrueTypeFontRasterizer();
    SInt32 MemoryInstalled();

    // The path of the printer's PPD file.
    CFStringRef PPDFile();
    // Sets `path` to "" first; true when the item was found.
    bool PPDFile(CString& path);
    CFStringRef GetColorDeviceUUID();
    bool GetColorDeviceUUID(CString& uuid);

    OSStatus LookupStatus() const { return mLookupStatus; }

private:
    CFTypeRef Lookup(CFStringRef key);
    CFStringRef LookupString(CFStringRef key);
    bool LookupTrue(CFStringRef key);
    SInt32 LookupInt(CFStringRef key);

    OSStatus mLookupStatus;
};

#endif  // HALYX_CORE_PRINTERINFOTICKET_H
