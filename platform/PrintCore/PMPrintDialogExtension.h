// The print dialog extension interface that the printing system publishes: how a print dialog
// finds a pane plug-in, the identifiers it asks for, and the table of ten entries through which
// it drives the pane.
//
// A plug-in bundle lists, under the Info.plist key "CFPlugInTypes", the factories that make
// objects of the type kPMPDEPlugInTypeIDStr. The dialog calls such a factory (an exported C
// function of the bundle's executable) with that type; the factory answers an instance whose first
// field points at a PMPlugInBaseVTable. The dialog then asks QueryInterface for
// kPMPDEInterfaceIDStr and receives a PMPDEInterface: a pointer to the PMPDEVTable, then the
// object's reference count. Every entry is called on the dialog's thread, one at a time.
#ifndef HALYX_PLATFORM_PRINTCORE_PMPRINTDIALOGEXTENSION_H
#define HALYX_PLATFORM_PRINTCORE_PMPRINTDIALOGEXTENSION_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFUUID.h"
#include "PrintCore/PMSession.h"

#ifdef __cplusplus
extern "C" {
#endif

// The type of print dialog extension plug-ins (a key of "CFPlugInTypes").
#define kPMPDEPlugInTypeIDStr "BCB07250-E57F-11D3-8CA6-0050E4603277"
#define kPMPDEPlugInTypeID                                                                     \
    CFUUIDGetConstantUUIDWithBytes(NULL, 0xBC, 0xB0, 0x72, 0x50, 0xE5, 0x7F, 0x11, 0xD3, 0x8C, \
                                   0xA6, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77)
// The pane interface a factory instance hands out through QueryInterface.
#define kPMPDEInterfaceIDStr "A996FD7E-B738-11D3-8519-0050E4603277"
#define kPMPDEInterfaceID                                                                      \
    CFUUIDGetConstantUUIDWithBytes(NULL, 0xA9, 0x96, 0xFD, 0x7E, 0xB7, 0x38, 0x11, 0xD3, 0x85, \
                                   0x19, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77)
// The base interface every plug-in object answers (QueryInterface, AddRef, Release).
#define kPMPlugInBaseInterfaceIDStr "00000000-0000-0000-C000-000000000046"
#define kPMPlugInBaseInterfaceID                                                               \
    CFUUIDGetConstantUUIDWithBytes(NULL, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, \
                                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

// The dialog's user pane (HIToolbox/MacWindows.h), named here so that this header needs no toolkit.
typedef struct OpaqueControlRef* ControlRef;

// QueryInterface's answer for an interface the object does not have.
enum { kPMPlugInNoInterface = (SInt32)0x80000004 };

typedef SInt32 PMPlugInResult;
typedef UInt32 PMPlugInCount;

// The factory function a bundle exports (its name is the value in "CFPlugInFactories").
typedef void* (*PMPlugInFactoryFunction)(CFAllocatorRef allocator, CFUUIDRef typeID);

// The base interface: slot 0 is reserved and null.
typedef struct PMPlugInBaseVTable {
    void* reserved;
    PMPlugInResult (*QueryInterface)(void* instance, CFUUIDBytes interfaceID, void** outInterface);
    PMPlugInCount (*AddRef)(void* instance);
    PMPlugInCount (*Release)(void* instance);
} PMPlugInBaseVTable;

// What the dialog knows a pane by: the context Prologue hands out, the dialog's own reference for
// the pane, and the flags Initialize answers.
typedef void* PMPDEContext;
typedef void* PMPDERef;
typedef UInt32 PMPDEFlags;

// The interface version a pane reports.
typedef struct PMPDEAPIVersion {
    UInt32 buildVersionMajor;
    UInt32 buildVersionMinor;
    UInt32 baseVersionMajor;
    UInt32 baseVersionMinor;
} PMPDEAPIVersion;

typedef struct PMPDEInterface PMPDEInterface;

// The pane interface, in slot order. Every entry that takes a context answers
// kPMInvalidPDEContext for a null one.
typedef struct PMPDEVTable {
    // Adds a reference to the interface object.
    OSStatus (*Retain)(PMPDEInterface* object);
    // Clears *object and drops the caller's reference.
    OSStatus (*Release)(PMPDEInterface** object);
    OSStatus (*GetAPIVersion)(PMPDEInterface* object, PMPDEAPIVersion* version);
    // Creates the pane: its context, creator code, the kind of options it shows (a new string for
    // the caller), its title (kept by the pane) and the largest size it needs.
    OSStatus (*Prologue)(PMPDEContext* context, OSType* creator, CFStringRef* userOptionKind,
                         CFStringRef* title, UInt32* maxWidth, UInt32* maxHeight);
    // Builds the pane inside `parentUserPane` for the session's printer.
    OSStatus (*Initialize)(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                           ControlRef parentUserPane, PMPrintSession session);
    // Writes the pane's values into the session's tickets (reinitialize false) or reloads the pane
    // from them (true).
    OSStatus (*Sync)(PMPDEContext context, PMPrintSession session, Boolean reinitialize);
    // Two new arrays of strings for the caller: the titles and the values the summary lists.
    OSStatus (*GetSummaryText)(PMPDEContext context, CFArrayRef* titles, CFArrayRef* summaries);
    OSStatus (*Open)(PMPDEContext context);
    OSStatus (*Close)(PMPDEContext context);
    // Destroys the pane; `status` tells how the dialog ended.
    OSStatus (*Terminate)(PMPDEContext context, OSStatus status);
} PMPDEVTable;

struct PMPDEInterface {
    PMPDEVTable* vtable;
    UInt32 refCount;
};

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_PRINTCORE_PMPRINTDIALOGEXTENSION_H
