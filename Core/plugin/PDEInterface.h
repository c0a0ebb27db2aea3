// The pane interface object that the factory instance hands out: the ten entries through which
// the print dialog drives a HalyxJobNotesPDE, and the interface-definition reference that the
// process keeps while interface objects are retained.
#ifndef HALYX_CORE_PLUGIN_PDEINTERFACE_H
#define HALYX_CORE_PLUGIN_PDEINTERFACE_H

#include "HIToolbox/NibReference.h"
#include "PrintCore/PMPrintDialogExtension.h"

// A new interface object (count 1) with its own table of the ten entries; null when either cannot
// be allocated. The last Release frees both.
PMPDEInterface* CreatePDEInterface();

// The process's interface-definition reference: null until the first Retain, and again after the
// last Release of an interface object.
IBNibRef PDEInterfaceNibReference();

#endif  // HALYX_CORE_PLUGIN_PDEINTERFACE_H
