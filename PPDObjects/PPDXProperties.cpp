#include "PPDObjects/PPDXProperties.h"

#include <new>

#include "PPDObjects/KeywordMatch.h"
#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXProperty.h"
#include "PPDObjects/StoreCounts.h"
#include "settings/Settings.h"

PPDXProperties::PPDXProperties() : mPages(), mCursor() {}

PPDXProperties::~PPDXProperties() {}

void PPDXProperties::Add(PPDXProperty* page) {
    if (page != nullptr) mPages.PushBack(page);
}

PPDXProperty* PPDXProperties::SkipNull() {
    while (mCursor != mPages.End() && *mCursor == nullptr) ++mCursor;
    return static_cast<PPDXProperty*>(*mCursor);
}

PPDXProperty* PPDXProperties::First() {
    mCursor = mPages.Begin();
    return SkipNull();
}

PPDXProperty* PPDXProperties::Next() {
    if (mCursor == PointerListItr() || mCursor == mPages.End()) return nullptr;
    ++mCursor;
    return SkipNull();
}

PPDXProperty* PPDXProperties::Find(const char* keyword, bool exact) {
    if (keyword == nullptr) return nullptr;
    for (PPDXProperty* page = First(); page != nullptr; page = Next()) {
        if (KeywordMatches(page->Keyword(), keyword, exact)) return page;
    }
    return nullptr;
}

OSErr PPDXProperties::Save(Settings& settings) {
    SInt32 count = static_cast<SInt32>(mPages.Size());
    OSErr err = static_cast<OSErr>(settings.Add(kCountTag, kCountId, &count, sizeof count));
    if (err != noErr) return err;
    SInt32 id = kFirstId;
    for (PPDXProperty* page = First(); page != nullptr; page = Next()) {
        err = page->Save(settings, id++);
        if (err != noErr) return err;
    }
    return noErr;
}

PPDXProperties::PPDXProperties(Settings& settings) : PPDXProperties() {
    SInt32 count = 0;
    if (!ReadModelRecordExactly(settings, kCountTag, kCountId, &count, sizeof count)) return;
    count = PlausibleCount(settings, count);
    for (SInt32 i = 0; i < count; ++i) {
        SInt32 id;
        if (!OffsetId(kFirstId, i, &id)) break;
        PPDXProperty* page = new (std::nothrow) PPDXProperty(settings, id);
        if (page == nullptr) {
            settings.NoteReadFailure();
            break;
        }
        if (mPages.PushBack(page) == PointerListItr()) {
            delete page;
            settings.NoteReadFailure();
            break;
        }
    }
}
