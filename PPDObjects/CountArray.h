// The counters a collection keeps for one kind of member, filled as members are added: how many
// there are, how many are orphans, how many are invisible and how many are both. From them the
// number of members that a display mode lets through is worked out without walking the list.
// Parent and visibility changes after a member was counted are not reflected.
#ifndef HALYX_PPDOBJECTS_COUNTARRAY_H
#define HALYX_PPDOBJECTS_COUNTARRAY_H

#include "Base/MacTypes.h"
#include "PPDObjects/ModelOptions.h"

class PPDXElement;

class CountArray {
public:
    CountArray() : mTotal(0), mOrphans(0), mInvisible(0), mOrphanInvisible(0) {}

    // Counts `element` from its state now.
    void Count(PPDXElement& element);

    // DISPLAY_NORMAL: visible and attached; DISPLAY_VISIBLE: visible; DISPLAY_ATTACHED: attached;
    // DISPLAY_ALL: all; 0 for any other mode.
    UInt32 Under(_DISPLAY_OPTIONS_ options) const;

    UInt32 Total() const { return mTotal; }
    UInt32 Orphans() const { return mOrphans; }
    UInt32 Invisible() const { return mInvisible; }
    UInt32 OrphanInvisible() const { return mOrphanInvisible; }

private:
    UInt32 mTotal;
    UInt32 mOrphans;
    UInt32 mInvisible;
    UInt32 mOrphanInvisible;
};

#endif  // HALYX_PPDOBJECTS_COUNTARRAY_H
