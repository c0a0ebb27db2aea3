// The groups of a list by keyword, for the many exact lookups of a rebuild: Find answers as
// PPDXGroups::Find(keyword, true) does (the first group in list order with that keyword), in
// logarithmic time. When memory for the index cannot be had, Find asks the list itself. The index
// holds the keywords as they are when it is made; the groups must outlive it unchanged.
#ifndef HALYX_PPDOBJECTS_GROUPINDEX_H
#define HALYX_PPDOBJECTS_GROUPINDEX_H

#include "Base/MacTypes.h"

class PPDXGroup;
class PPDXGroups;

class GroupIndex {
public:
    explicit GroupIndex(PPDXGroups& groups);
    ~GroupIndex();

    PPDXGroup* Find(const char* keyword) const;

private:
    struct Entry {
        const char* keyword;
        UInt32 order;
        PPDXGroup* group;
    };
    static bool Before(const Entry& a, const Entry& b);

    PPDXGroups& mGroups;
    Entry* mEntries = nullptr;
    UInt32 mCount = 0;

    GroupIndex(const GroupIndex&) = delete;
    GroupIndex& operator=(const GroupIndex&) = delete;
};

#endif  // HALYX_PPDOBJECTS_GROUPINDEX_H
