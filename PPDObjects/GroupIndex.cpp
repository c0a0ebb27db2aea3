#include "PPDObjects/GroupIndex.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXGroups.h"

GroupIndex::GroupIndex(PPDXGroups& groups) : mGroups(groups) {
    // Every group is indexed, whatever the process shows.
    DisplayOptionsScope all(DISPLAY_ALL);
    UInt32 count = 0;
    for (PPDXGroup* group = groups.First(); group != nullptr; group = groups.Next()) ++count;
    mEntries = new (std::nothrow) Entry[count > 0 ? count : 1];
    if (mEntries == nullptr) return;
    for (PPDXGroup* group = groups.First(); group != nullptr; group = groups.Next()) {
        if (group->Keyword() == nullptr) continue;
        mEntries[mCount] = Entry{group->Keyword(), mCount, group};
        ++mCount;
    }
    std::sort(mEntries, mEntries + mCount, Before);
}

GroupIndex::~GroupIndex() {
    delete[] mEntries;
}

bool GroupIndex::Before(const Entry& a, const Entry& b) {
    int order = std::strcmp(a.keyword, b.keyword);
    return order != 0 ? order < 0 : a.order < b.order;
}

PPDXGroup* GroupIndex::Find(const char* keyword) const {
    if (mEntries == nullptr) return mGroups.Find(keyword, true);
    if (keyword == nullptr) return nullptr;
    const Entry probe{keyword, 0, nullptr};
    const Entry* at = std::lower_bound(mEntries, mEntries + mCount, probe, Before);
    if (at == mEntries + mCount || std::strcmp(at->keyword, keyword) != 0) return nullptr;
    return at->group;
}
