// The ten entries of the pane interface. Each entry that takes a context checks it, then forwards
// to the HalyxJobNotesPDE it stands for.
#include "Core/plugin/PDEInterface.h"

#include <new>

#include "Core/BundleLookup.h"
#include "Core/plugin/HalyxJobNotesPDE.h"
#include "Core/plugin/PluginIdentity.h"
#include "Memory/MacMemory.h"
#include "PrintCore/PMErrors.h"

namespace {

// One per process, opened by the first Retain and disposed by the last Release.
IBNibRef gNibReference = nullptr;

// The interface's own version and the version of the interface it builds on.
constexpr UInt32 kBuildVersionMajor = 1;
constexpr UInt32 kBuildVersionMinor = 0;
constexpr UInt32 kBaseVersionMajor = 1;
constexpr UInt32 kBaseVersionMinor = 0;

HalyxJobNotesPDE* Pane(PMPDEContext context) {
    return static_cast<HalyxJobNotesPDE*>(context);
}

OSStatus Retain(PMPDEInterface* object) {
    if (object != nullptr) object->refCount++;
    if (gNibReference != nullptr) return noErr;
    CFStringRef name =
        CFStringCreateWithCString(kCFAllocatorDefault, kHalyxNibName, kCFStringEncodingMacRoman);
    if (name == nullptr) return memFullErr;
    OSStatus status =
        CreateNibReferenceWithCFBundle(MyGetBundle(kHalyxBundleIdentifier), name, &gNibReference);
    CFRelease(name);
    return status;
}

OSStatus Release(PMPDEInterface** objectPointer) {
    if (objectPointer == nullptr || *objectPointer == nullptr) return noErr;
    PMPDEInterface* object = *objectPointer;
    *objectPointer = nullptr;
    if (object->refCount > 0) object->refCount--;
    if (object->refCount == 0) {
        if (gNibReference != nullptr) DisposeNibReference(gNibReference);
        gNibReference = nullptr;
        DisposePtr(reinterpret_cast<Ptr>(object->vtable));
        DisposePtr(reinterpret_cast<Ptr>(object));
    }
    return noErr;
}

OSStatus GetAPIVersion(PMPDEInterface*, PMPDEAPIVersion* version) {
    if (version != nullptr) {
        version->buildVersionMajor = kBuildVersionMajor;
        version->buildVersionMinor = kBuildVersionMinor;
        version->baseVersionMajor = kBaseVersionMajor;
        version->baseVersionMinor = kBaseVersionMinor;
    }
    return noErr;
}

OSStatus Prologue(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                  CFStringRef* title, UInt32* maxWidth, UInt32* maxHeight) {
    HalyxJobNotesPDE* pane = new (std::nothrow) HalyxJobNotesPDE();
    if (pane == nullptr || !pane->IsValid()) {
        delete pane;
        if (context != nullptr) *context = nullptr;
        return kPMInvalidPDEContext;
    }
    if (context != nullptr) *context = pane;
    HalyxJobNotesPDE::PaneSize(maxWidth, maxHeight);
    if (title != nullptr) *title = pane->Title();
    if (userOptionKind != nullptr)
        *userOptionKind = CFStringCreateCopy(kCFAllocatorDefault, pane->BundleIdentifier());
    if (creator != nullptr) *creator = kHalyxCreator;
    return noErr;
}

OSStatus Initialize(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                    ControlRef parentUserPane, PMPrintSession session) {
    if (context == nullptr || !Pane(context)->IsValid()) return kPMInvalidPDEContext;
    return Pane(context)->Initialize(flags, ref, parentUserPane, session);
}

OSStatus Sync(PMPDEContext context, PMPrintSession session, Boolean reinitialize) {
    if (context == nullptr) return kPMInvalidPDEContext;
    return Pane(context)->Sync(session, reinitialize);
}

OSStatus GetSummaryText(PMPDEContext context, CFArrayRef* titles, CFArrayRef* summaries) {
    if (context == nullptr) return kPMInvalidPDEContext;
    return Pane(context)->GetSummaryText(titles, summaries);
}

OSStatus Open(PMPDEContext context) {
    if (context == nullptr) return kPMInvalidPDEContext;
    return Pane(context)->Open();
}

OSStatus Close(PMPDEContext context) {
    if (context == nullptr) return kPMInvalidPDEContext;
    return Pane(context)->Close();
}

OSStatus Terminate(PMPDEContext context, OSStatus) {
    if (context == nullptr) return kPMInvalidPDEContext;
    delete Pane(context);
    return noErr;
}

}  // namespace

PMPDEInterface* CreatePDEInterface() {
    PMPDEInterface* object = reinterpret_cast<PMPDEInterface*>(NewPtrClear(sizeof(PMPDEInterface)));
    if (object == nullptr) return nullptr;
    PMPDEVTable* table = reinterpret_cast<PMPDEVTable*>(NewPtrClear(sizeof(PMPDEVTable)));
    if (table == nullptr) {
        DisposePtr(reinterpret_cast<Ptr>(object));
        return nullptr;
    }
    table->Retain = Retain;
    table->Release = Release;
    table->GetAPIVersion = GetAPIVersion;
    table->Prologue = Prologue;
    table->Initialize = Initialize;
    table->Sync = Sync;
    table->GetSummaryText = GetSummaryText;
    table->Open = Open;
    table->Close = Close;
    table->Terminate = Terminate;
    object->vtable = table;
    object->refCount = 1;
    return object;
}

IBNibRef PDEInterfaceNibReference() {
    return gNibReference;
}
