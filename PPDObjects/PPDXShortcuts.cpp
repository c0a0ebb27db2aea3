#include "PPDObjects/PPDXShortcuts.h"

#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/KeywordMatch.h"
#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/PPDXControls.h"
#include "PPDObjects/StoreCounts.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

PPDXShortcuts::PPDXShortcuts(const PointerList& controls) : mShortcuts(controls), mCursor() {}

PPDXShortcuts::~PPDXShortcuts() {}

PPDXPopupControl* PPDXShortcuts::SkipToPopup() {
    for (; mCursor != mShortcuts.End(); ++mCursor) {
        PPDXControl* control = static_cast<PPDXControl*>(*mCursor);
        PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control);
        if (popup != nullptr) return popup;
    }
    return nullptr;
}

PPDXPopupControl* PPDXShortcuts::First() {
    mCursor = mShortcuts.Begin();
    return SkipToPopup();
}

PPDXPopupControl* PPDXShortcuts::Next() {
    if (mCursor == PointerListItr() || mCursor == mShortcuts.End()) return nullptr;
    ++mCursor;
    return SkipToPopup();
}

PPDXPopupControl* PPDXShortcuts::Find(const char* keyword, bool exact) {
    if (keyword == nullptr) return nullptr;
    for (PPDXPopupControl* popup = First(); popup != nullptr; popup = Next()) {
        if (KeywordMatches(popup->Keyword(), keyword, exact)) return popup;
    }
    return nullptr;
}

OSErr PPDXShortcuts::Save(Settings& settings) {
    SInt32 count = static_cast<SInt32>(mShortcuts.Size());
    OSErr err = static_cast<OSErr>(settings.Add(kTag, kCountId, &count, sizeof count));
    if (err != noErr) return err;
    SInt32 id = kFirstId;
    for (PPDXPopupControl* popup = First(); popup != nullptr; popup = Next()) {
        if (popup->Keyword() == nullptr) continue;
        err = static_cast<OSErr>(WriteModelString(settings, kTag, id++, popup->Keyword()));
        if (err != noErr) return err;
    }
    return noErr;
}

PPDXShortcuts::PPDXShortcuts(Settings& settings, PPDXControls* controls) : mShortcuts(), mCursor() {
    if (controls == nullptr) return;
    SInt32 count = 0;
    if (!ReadModelRecordExactly(settings, kTag, kCountId, &count, sizeof count)) return;
    SInt32 id = kFirstId;
    for (SInt32 i = 0; i < count; ++i) {
        CString* keyword = GetSettingsString(settings, kTag, id);
        // The id moves on only past a keyword, so the first gap ends the reading.
        if (keyword == nullptr) break;
        PPDXControl* control = controls->Find(*keyword, nullptr, true);
        delete keyword;
        if (mShortcuts.PushBack(control) == PointerListItr()) {
            settings.NoteReadFailure();
            break;
        }
        if (!OffsetId(id, 1, &id)) break;
    }
}
