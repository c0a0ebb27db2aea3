// The plug-in's entry point: the factory the print dialog calls by name from the bundle's
// executable, and the factory instance it answers (the base interface: QueryInterface, AddRef and
// Release).
#ifndef HALYX_CORE_PLUGIN_PLUGINFACTORY_H
#define HALYX_CORE_PLUGIN_PLUGINFACTORY_H

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFUUID.h"
#include "PrintCore/PMPrintDialogExtension.h"

// The factory instance: a pointer to its own table (which follows it), the factory identifier
// found in the bundle's "CFPlugInTypes" (owned), and the reference count.
struct HalyxPlugInInstance {
    PMPlugInBaseVTable* interface;
    PMPlugInBaseVTable table;
    CFUUIDRef factoryID;
    UInt32 refCount;
};

extern "C" {
// A new factory instance (count 1, registered with the plug-in registry for its factory) for the
// type `typeID`; null when the bundle cannot be found, does not list the type, or memory runs out.
__attribute__((visibility("default"))) void* HalyxJobNotesPluginFactory(CFAllocatorRef allocator,
                                                                        CFUUIDRef typeID);
}

#endif  // HALYX_CORE_PLUGIN_PLUGINFACTORY_H
