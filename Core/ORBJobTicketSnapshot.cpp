// The parsed model's snapshot in the print settings: saved as the XML form of the flattened
// store, rebuilt from it when the next dialog opens.
#include <new>

#include "CoreFoundation/CFPropertyList.h"
#include "Core/BundleLookup.h"
#include "Core/ORBJobTicket.h"
#include "Core/PrintSettingsTicket.h"
#include "Core/PrinterListFile.h"
#include "parser/ORBPPD.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"

bool ORBJobTicket::SavePPD(ORBPPD* ppd, CFStringRef client, CFURLRef) {
    mStatus = noErr;
    if (client == nullptr || ppd == nullptr || mSettings == nullptr) return false;
    Settings store;
    CFDataStream stream;
    // A model that could not write all of itself leaves the print settings as they were, so
    // that no partial snapshot is ever rebuilt.
    if (!ppd->Save(store)) {
        mStatus = store.LastError() != noErr ? store.LastError() : memFullErr;
        return false;
    }
    OSStatus status = store.Save(&stream);
    if (status != noErr) {
        mStatus = status;
        return true;
    }
    CFDataRef xml = stream.data() != nullptr
                        ? CFPropertyListCreateXMLData(kCFAllocatorDefault, stream.data())
                        : nullptr;
    if (xml == nullptr) {
        mStatus = memFullErr;
        return true;
    }
    mStatus = mSettings->Set(client, client, xml, false);
    CFRelease(xml);
    return true;
}

ORBPPD* ORBJobTicket::RestorePPD(CFStringRef client, CFURLRef location) {
    if (client == nullptr || mSettings == nullptr) return nullptr;
    CFDataRef item = nullptr;
    mStatus = mSettings->Get(client, &item);
    if (mStatus != noErr) return nullptr;
    CFPropertyListRef parsed = CFPropertyListCreateFromXMLData(kCFAllocatorDefault, item,
                                                               kCFPropertyListImmutable, nullptr);
    if (parsed == nullptr) return nullptr;
    ORBPPD* model = nullptr;
    CFURLRef contents = nullptr;
    // Anything but a data element is not a snapshot of ours.
    if (CFGetTypeID(parsed) == CFDataGetTypeID()) contents = CreatePDEContentsURL(client);
    if (contents != nullptr) {
        CFDataStream stream(static_cast<CFDataRef>(parsed));
        Settings store;
        PrinterListFile printers(contents, kCFPropertyListImmutable);
        if (printers.Loaded()) {
            mStatus = store.Read(&stream, 0);
            if (mStatus == noErr) {
                model = new (std::nothrow) ORBPPD(store, location, printers.Names());
                if (model != nullptr && !(model->IsValidPrinterName() && model->IsValidPPD())) {
                    delete model;
                    model = nullptr;
                }
            }
        }
        CFRelease(contents);
    }
    CFRelease(parsed);
    return model;
}
