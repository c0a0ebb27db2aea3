// The process-wide cache of parsed models, so that every pane of the process uses one model.
//
// The cache is a list of models registered in the process-wide registry under the selector 'QZPd'
// (the value is the list's address). It is absent until a model is installed and removed again
// when its last model is destroyed. Each cached model holds one reference per pane using it: the
// installing pane's comes from InstallSharedPPDManager, each further pane's from
// GetSharedPPDManager, and every pane gives its reference back with ReleasePPDManager.
#ifndef HALYX_CORE_SHAREDPPDMANAGER_H
#define HALYX_CORE_SHAREDPPDMANAGER_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

class ORBPPD;

// The registry selector of the cache.
constexpr OSType kSharedPPDManagerSelector = HALYX_FOUR_CHAR('Q', 'Z', 'P', 'd');

// Retains every cached model, in order, and returns the last; null when there is no cache or it
// is empty.
ORBPPD* GetSharedPPDManager();

// Appends `model` to the cache (registering the cache when needed) and retains it. False, with
// nothing cached and no reference taken, when the registry or memory refuses.
bool InstallSharedPPDManager(ORBPPD* model);

// Releases every cached model once, drops those that were destroyed, and removes the cache when
// it is empty. Nothing happens when there is no cache.
void ReleasePPDManager();

#endif  // HALYX_CORE_SHAREDPPDMANAGER_H
