// A list of groups (plain groups, roll-downs and scroll panes) that never owns them, with counters
// of how many were added, how many were orphans and how many invisible when they were added.
//
// Store records: the list size under tag 4000, id 4002 (four bytes), then each group visited by
// First/Next with its own records under id 4001 + k. On rebuilding, a group's class comes from its
// marker record ('gGrp', 'RlDn', 'ScPn').
#ifndef HALYX_PPDOBJECTS_PPDXGROUPS_H
#define HALYX_PPDOBJECTS_PPDXGROUPS_H

#include <string_view>
#include <unordered_map>

#include "Base/MacTypes.h"
#include "PPDObjects/CountArray.h"
#include "foundation/PointerList.h"
#include "foundation/PointerListItr.h"

class PPDXGroup;
class Settings;

class PPDXGroups {
public:
    static constexpr FourCharCode kCountTag = 4000;
    static constexpr SInt32 kCountId = 4002;
    static constexpr SInt32 kFirstId = 4001;

    PPDXGroups();
    // Rebuilds the groups the store holds; a missing or malformed count leaves the list empty and
    // an id without a readable marker is skipped.
    explicit PPDXGroups(Settings& settings);
    // Leaves the groups alive.
    virtual ~PPDXGroups();

    // Appends and counts `group` from its state now; a null group is ignored.
    void Add(PPDXGroup* group);
    // True when no group was added, whatever the display mode.
    bool Empty() const { return mGroups.Empty(); }
    // The groups the current display mode lets through, worked out from the counters as for the
    // controls; 0 for an unknown mode.
    UInt32 Count() const;

    // The next group the current display mode lets through, or null.
    PPDXGroup* First();
    PPDXGroup* Next();
    // The first group, unfiltered, whose keyword equals `keyword` (exact) or holds it; it does
    // not disturb First/Next.
    PPDXGroup* Find(const char* keyword, bool exact) const;

    // The count record, then each group visited by First/Next; the first failure is returned.
    OSErr Save(Settings& settings);

private:
    PPDXGroup* Filtered();
    static PPDXGroup* LoadGroup(Settings& settings, SInt32 id);

    // Lists `group`, and indexes it under its keyword unless an earlier group has that keyword.
    bool Append(PPDXGroup* group);

    PointerList mGroups;
    PointerListItr mCursor;
    CountArray mCounts;
    // The first group listed under each keyword, for exact finds: the keywords of the groups
    // never change.
    std::unordered_map<std::string_view, PPDXGroup*> mFirstByKeyword;

    PPDXGroups(const PPDXGroups&) = delete;
    PPDXGroups& operator=(const PPDXGroups&) = delete;
};

#endif  // HALYX_PPDOBJECTS_PPDXGROUPS_H
