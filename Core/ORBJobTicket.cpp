#include "Core/ORBJobTicket.h"

#include <unistd.h>

#include <new>

#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPropertyList.h"
#include "Core/DebugPrintf.h"
#include "Core/PrintSettingsTicket.h"
#include "Core/RandomFileName.h"
#include "PPDObjects/PPDXControl.h"
#include "PrintCore/PMTicketKeys.h"

namespace {
// Controls whose PostScript fits here are written without a heap block.
constexpr SInt32 kLocalPostScriptSize = 1024;
}  // namespace

ORBJobTicket::ORBJobTicket(PrintSettingsTicket* settings, CFStringRef key)
    : JobTicket(kPMPrintSettingsTicket),
      mSettings(settings),
      mKey(nullptr),
      mCount(0),
      mPieces(nullptr),
      mDirty(true) {
    mValid = false;
    if (settings == nullptr || key == nullptr) return;
    mKey = CFStringCreateCopy(kCFAllocatorDefault, key);
    if (mKey == nullptr) {
        mStatus = memFullErr;
        return;
    }
    // The pieces always start in a list of this ticket's own: a session can only hold a number
    // under the key, from which no earlier pieces could be taken up.
    if (Create() != noErr) return;
    mValid = true;
}

ORBJobTicket::~ORBJobTicket() {
    if (mPieces != nullptr) CFRelease(mPieces);
    if (mKey != nullptr) CFRelease(mKey);
}

OSStatus ORBJobTicket::Create() {
    CFMutableArrayRef pieces = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    if (pieces == nullptr) return mStatus = memFullErr;
    if (mPieces != nullptr) CFRelease(mPieces);
    mPieces = pieces;
    mCount = 0;
    return mStatus = noErr;
}

bool ORBJobTicket::Add(PostScriptInjectionSite site, const void* bytes, SInt32 length) {
    mStatus = noErr;
    if (mPieces == nullptr || length <= 0 || bytes == nullptr) return true;
    CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &site);
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, static_cast<const UInt8*>(bytes), length);
    bool made = number != nullptr && data != nullptr;
    if (made) {
        CFIndex before = CFArrayGetCount(mPieces);
        CFArrayAppendValue(mPieces, number);
        CFArrayAppendValue(mPieces, data);
        made = CFArrayGetCount(mPieces) == before + 2;
        // A half-added piece would pair the next site with this one's bytes.
        if (!made)
            while (CFArrayGetCount(mPieces) > before)
                CFArrayRemoveValueAtIndex(mPieces, CFArrayGetCount(mPieces) - 1);
    }
    if (number != nullptr) CFRelease(number);
    if (data != nullptr) CFRelease(data);
    if (!made) {
        mStatus = memFullErr;
        return false;
    }
    ++mCount;
    mDirty = true;
    DebugPrintf("piece %d at site %d, %d bytes\n", static_cast<int>(mCount), static_cast<int>(site),
                static_cast<int>(length));
    return true;
}

bool ORBJobTicket::Add(PostScriptInjectionSite site, PPDXControl* control) {
    if (control == nullptr) return true;
    SInt32 size = control->PostScript(nullptr);
    if (size <= 0) return Add(site, nullptr, 0);
    if (size <= kLocalPostScriptSize) {
        char local[kLocalPostScriptSize];
        SInt32 written = control->PostScript(local);
        return Add(site, local, written);
    }
    char* block = new (std::nothrow) char[size];
    if (block == nullptr) {
        mStatus = memFullErr;
        return false;
    }
    SInt32 written = control->PostScript(block);
    bool added = Add(site, block, written);
    delete[] block;
    return added;
}

bool ORBJobTicket::Save(CFStringRef client) {
    if (mSettings == nullptr) return false;
    if (!mDirty) return true;
    if (client == nullptr) return false;
    if (mCount == 0) return true;
    if (mPieces == nullptr) {
        mDirty = false;
        return false;
    }
    mDirty = false;
    CFDataRef xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, mPieces);
    if (xml == nullptr) {
        mStatus = memFullErr;
        return false;
    }
    char path[kRandomFileNameBufferSize];
    mStatus = CreateExclusiveRandomFile(kPiecesFilePrefix, xml, path);
    CFRelease(xml);
    DebugPrintf("pieces file %s: %d\n", path, static_cast<int>(mStatus));
    if (mStatus != noErr) return false;
    CFStringRef pathString =
        CFStringCreateWithCString(kCFAllocatorDefault, path, kCFStringEncodingMacRoman);
    if (pathString == nullptr) {
        mStatus = memFullErr;
        unlink(path);
        return false;
    }
    mStatus = mSettings->Set(client, mKey, pathString, false);
    CFRelease(pathString);
    // A file whose path the filter never learns would only leave the job's data behind.
    if (mStatus != noErr) unlink(path);
    return mStatus == noErr;
}

bool ORBJobTicket::Invalidate(CFStringRef) {
    if (mKey != nullptr && mSettings != nullptr) mStatus = mSettings->Release(mKey);
    return true;
}

OSStatus ORBJobTicket::EnforceCopiesLimit(CFStringRef client, SInt32 copies) {
    if (mSettings == nullptr) return mStatus = kPMInvalidTicket;
    return mStatus = mSettings->Set(client, kPMCopiesKey, copies, false);
}
