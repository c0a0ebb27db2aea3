// The parsed model's snapshot in the print settings: saved as the XML form of the flattened
// store, rebuilt from it when the next dialog opens.
#include <mutex>
#include <new>
#include <optional>

#include "CoreFoundation/CFPropertyList.h"
#include "Core/BundleLookup.h"
#include "Core/ORBJobTicket.h"
#include "Core/PrintSettingsTicket.h"
#include "Core/PrinterListFile.h"
#include "parser/ORBPPD.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"

namespace {

// The snapshot this process stored last, as XML and as the flattened bytes it was made from: a
// dialog opened again on the same print settings finds that very XML there and rebuilds from
// the bytes without parsing the XML again. Large snapshots are not kept.
class LastSnapshot {
public:
    static constexpr CFIndex kLargestKept = 4 << 20;

    ~LastSnapshot() { Keep(nullptr, nullptr); }

    void Keep(CFDataRef xml, CFDataRef flattened) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (mXML != nullptr) CFRelease(mXML);
        if (mFlattened != nullptr) CFRelease(mFlattened);
        mXML = mFlattened = nullptr;
        if (xml == nullptr || flattened == nullptr || CFDataGetLength(flattened) > kLargestKept)
            return;
        mXML = static_cast<CFDataRef>(CFRetain(xml));
        mFlattened = static_cast<CFDataRef>(CFRetain(flattened));
    }
    // The flattened bytes behind `xml`, retained for the caller; null when `xml` is not the one
    // kept (the caller then parses it).
    CFDataRef CopyFlattened(CFDataRef xml) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (xml == nullptr || xml != mXML) return nullptr;
        return static_cast<CFDataRef>(CFRetain(mFlattened));
    }

    // The XML kept for flattened bytes equal to `flattened`, retained for the caller: a model
    // saved again unchanged is not written out again. Null when those are not the bytes kept.
    CFDataRef CopyXML(CFDataRef flattened) {
        std::lock_guard<std::mutex> hold(mMutex);
        if (flattened == nullptr || mFlattened == nullptr || !CFEqual(flattened, mFlattened))
            return nullptr;
        return static_cast<CFDataRef>(CFRetain(mXML));
    }

private:
    std::mutex mMutex;
    CFDataRef mXML = nullptr;
    CFDataRef mFlattened = nullptr;
};

LastSnapshot& Last() {
    static LastSnapshot last;
    return last;
}

}  // namespace

bool ORBJobTicket::SavePPD(ORBPPD* ppd, CFStringRef client, CFURLRef) {
    mStatus = noErr;
    if (client == nullptr || ppd == nullptr || mSettings == nullptr) return false;
    // Each form of the snapshot goes as soon as the next one exists: the records once flattened,
    // the flattened bytes once written as XML. Each is about the size of the PPD. The model
    // writes each record once under a key of its own, so the store takes them straight into
    // their flattened form and hands it to the stream piece by piece.
    std::optional<Settings> store(std::in_place, Settings::kAppendFirst);
    std::optional<CFDataStream> stream(std::in_place);
    // A model that could not write all of itself leaves the print settings as they were, so
    // that no partial snapshot is ever rebuilt.
    if (!ppd->Save(*store)) {
        mStatus = store->LastError() != noErr ? store->LastError() : memFullErr;
        return false;
    }
    OSStatus status = store->SaveAndClear(&*stream);
    store.reset();
    if (status != noErr) {
        mStatus = status;
        return true;
    }
    CFDataRef xml = Last().CopyXML(stream->data());
    if (xml == nullptr && stream->data() != nullptr)
        xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, stream->data());
    Last().Keep(xml, stream->data());
    stream.reset();
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
    CFPropertyListRef parsed = Last().CopyFlattened(item);
    if (parsed == nullptr)
        parsed = CFPropertyListCreateFromXMLData(kCFAllocatorDefault, item,
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
