#include "PPDObjects/PPDXGroups.h"

#include <new>

#include "Collections/Collections.h"
#include "PPDObjects/KeywordMatch.h"
#include "PPDObjects/ModelOptions.h"
#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXGroup.h"
#include "PPDObjects/PPDXRollDown.h"
#include "PPDObjects/PPDXScrollPane.h"
#include "PPDObjects/StoreCounts.h"
#include "settings/Settings.h"

PPDXGroups::PPDXGroups() : mGroups(), mCursor(), mCounts() {}

PPDXGroups::~PPDXGroups() {}

void PPDXGroups::Add(PPDXGroup* group) {
    if (group == nullptr) return;
    if (!Append(group)) return;
    mCounts.Count(*group);
}

bool PPDXGroups::Append(PPDXGroup* group) {
    if (mGroups.PushBack(group) == PointerListItr()) return false;
    if (group->Keyword() != nullptr) mFirstByKeyword.emplace(group->Keyword(), group);
    return true;
}

UInt32 PPDXGroups::Count() const {
    return mCounts.Under(ModelOptions::Display());
}

PPDXGroup* PPDXGroups::Filtered() {
    _DISPLAY_OPTIONS_ options = ModelOptions::Display();
    for (; mCursor != mGroups.End(); ++mCursor) {
        PPDXGroup* group = static_cast<PPDXGroup*>(*mCursor);
        if (group != nullptr && group->OkayToDisplay(options)) return group;
    }
    return nullptr;
}

PPDXGroup* PPDXGroups::First() {
    mCursor = mGroups.Begin();
    return Filtered();
}

PPDXGroup* PPDXGroups::Next() {
    if (mCursor == PointerListItr() || mCursor == mGroups.End()) return nullptr;
    ++mCursor;
    return Filtered();
}

PPDXGroup* PPDXGroups::Find(const char* keyword, bool exact) const {
    if (keyword == nullptr) return nullptr;
    if (exact) {
        const auto found = mFirstByKeyword.find(keyword);
        return found != mFirstByKeyword.end() ? found->second : nullptr;
    }
    for (ConstPointerListItr it = mGroups.Begin(); it != mGroups.End(); ++it) {
        PPDXGroup* group = static_cast<PPDXGroup*>(const_cast<void*>(*it));
        if (group != nullptr && KeywordMatches(group->Keyword(), keyword, exact)) return group;
    }
    return nullptr;
}

// --- Store ---------------------------------------------------------------------------------------

OSErr PPDXGroups::Save(Settings& settings) {
    SInt32 count = static_cast<SInt32>(mGroups.Size());
    OSErr err = static_cast<OSErr>(settings.Add(kCountTag, kCountId, &count, sizeof count));
    if (err != noErr) return err;
    SInt32 id = kFirstId;
    for (PPDXGroup* group = First(); group != nullptr; group = Next()) {
        err = group->Save(settings, id++);
        if (err != noErr) return err;
    }
    return noErr;
}

PPDXGroup* PPDXGroups::LoadGroup(Settings& settings, SInt32 id) {
    const FourCharCode markers[] = {PPDXGroup::kMarkerTag, PPDXRollDown::kMarkerTag,
                                    PPDXScrollPane::kMarkerTag};
    for (FourCharCode marker : markers) {
        SInt32 length = 0;
        OSStatus status = settings.Get(marker, id, nullptr, &length);
        if (status == collectionItemNotFoundErr) continue;
        PPDXGroup* group = nullptr;
        if (status != noErr) {
            // The probe itself failed: counted below like a group that could not be made.
        } else if (marker == PPDXRollDown::kMarkerTag) {
            group = new (std::nothrow) PPDXRollDown(settings, id);
        } else if (marker == PPDXScrollPane::kMarkerTag) {
            group = new (std::nothrow) PPDXScrollPane(settings, id);
        } else {
            group = new (std::nothrow) PPDXGroup(settings, id);
        }
        if (group == nullptr) settings.NoteReadFailure();
        return group;
    }
    // An id without a marker holds nothing of ours: it is skipped as a missing record would be.
    return nullptr;
}

PPDXGroups::PPDXGroups(Settings& settings) : PPDXGroups() {
    SInt32 count = 0;
    if (!ReadModelRecordExactly(settings, kCountTag, kCountId, &count, sizeof count)) return;
    count = PlausibleCount(settings, count);
    for (SInt32 i = 0; i < count; ++i) {
        SInt32 id;
        if (!OffsetId(kFirstId, i, &id)) break;
        PPDXGroup* group = LoadGroup(settings, id);
        if (group == nullptr) continue;
        if (!Append(group)) {
            delete group;
            settings.NoteReadFailure();
            break;
        }
        mCounts.Count(*group);
    }
}
