#include "PPDObjects/PPDXControls.h"

#include "PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDObjects/Controls/PPDXJobNote.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDObjects/KeywordMatch.h"
#include "PPDObjects/ModelOptions.h"

PPDXControls::PPDXControls() : mAll(), mAllCursor() {}

PPDXControls::~PPDXControls() {}

bool PPDXControls::Add(PPDXControl* control) {
    if (control == nullptr) return false;
    if (mAll.PushBack(control) == PointerListItr()) return false;
    // Every constructor of a control class sets its type, so the type names the class; only the
    // range type is shared, by float ranges, which have no kind list.
    KindList* kind = nullptr;
    switch (control->Type()) {
        case CNTL_JOBNOTE:
            kind = &mJobNotes;
            break;
        case CNTL_BOOLEAN:
            kind = &mBooleans;
            break;
        case CNTL_POPUP:
            kind = &mPopups;
            break;
        case CNTL_RANGE:
            if (dynamic_cast<PPDXRangeControl*>(control) != nullptr) kind = &mRanges;
            break;
        case CNTL_SPECIAL:
            kind = &mSpecialOptions;
            break;
    }
    if (kind == nullptr) return true;
    // A control is listed everywhere or nowhere: one missing from its kind list would be left out
    // of the counts and typed walks without a word.
    if (kind->mList.PushBack(control) == PointerListItr()) {
        mAll.PopBack();
        return false;
    }
    kind->mCounts.Count(*control);
    return true;
}

// --- Counts --------------------------------------------------------------------------------------

UInt32 PPDXControls::PopupCount() const {
    return mPopups.mCounts.Under(ModelOptions::Display());
}

UInt32 PPDXControls::BooleanCount() const {
    return mBooleans.mCounts.Under(ModelOptions::Display());
}

UInt32 PPDXControls::RangeCount() const {
    return mRanges.mCounts.Under(ModelOptions::Display());
}

UInt32 PPDXControls::JobNoteCount() const {
    return mJobNotes.mCounts.Under(DISPLAY_VISIBLE);
}

UInt32 PPDXControls::SpecialOptionsCount() const {
    return mSpecialOptions.mCounts.Under(DISPLAY_ALL);
}

UInt32 PPDXControls::ControlCount() const {
    return PopupCount() + BooleanCount() + RangeCount() + JobNoteCount();
}

bool PPDXControls::Empty() const {
    return NoPopups() && NoBooleanControls() && NoRangeControls() && NoJobNotes();
}

// --- The filtered walk of all controls -----------------------------------------------------------

PPDXControl* PPDXControls::Filtered(CNTL_TYPE* type) {
    _DISPLAY_OPTIONS_ options = ModelOptions::Display();
    for (; mAllCursor != mAll.End(); ++mAllCursor) {
        PPDXControl* control = static_cast<PPDXControl*>(*mAllCursor);
        if (control == nullptr || !control->OkayToDisplay(options)) continue;
        if (type != nullptr) *type = control->Type();
        return control;
    }
    return nullptr;
}

PPDXControl* PPDXControls::First(CNTL_TYPE* type) {
    mAllCursor = mAll.Begin();
    return Filtered(type);
}

PPDXControl* PPDXControls::Next(CNTL_TYPE* type) {
    if (mAllCursor == PointerListItr() || mAllCursor == mAll.End()) return nullptr;
    ++mAllCursor;
    return Filtered(type);
}

// --- Typed walks ---------------------------------------------------------------------------------

void* PPDXControls::FirstOf(KindList& kind) {
    kind.mCursor = kind.mList.Begin();
    while (kind.mCursor != kind.mList.End() && *kind.mCursor == nullptr) ++kind.mCursor;
    return *kind.mCursor;
}

void* PPDXControls::NextOf(KindList& kind) {
    if (kind.mCursor == PointerListItr() || kind.mCursor == kind.mList.End()) return nullptr;
    ++kind.mCursor;
    while (kind.mCursor != kind.mList.End() && *kind.mCursor == nullptr) ++kind.mCursor;
    return *kind.mCursor;
}

PPDXPopupControl* PPDXControls::FirstPopupControl() {
    return static_cast<PPDXPopupControl*>(FirstOf(mPopups));
}
PPDXPopupControl* PPDXControls::NextPopupControl() {
    return static_cast<PPDXPopupControl*>(NextOf(mPopups));
}
PPDXBooleanControl* PPDXControls::FirstBooleanControl() {
    return static_cast<PPDXBooleanControl*>(FirstOf(mBooleans));
}
PPDXBooleanControl* PPDXControls::NextBooleanControl() {
    return static_cast<PPDXBooleanControl*>(NextOf(mBooleans));
}
PPDXRangeControl* PPDXControls::FirstRangeControl() {
    return static_cast<PPDXRangeControl*>(FirstOf(mRanges));
}
PPDXRangeControl* PPDXControls::NextRangeControl() {
    return static_cast<PPDXRangeControl*>(NextOf(mRanges));
}
PPDXJobNote* PPDXControls::FirstJobNote() {
    return static_cast<PPDXJobNote*>(FirstOf(mJobNotes));
}
PPDXJobNote* PPDXControls::NextJobNote() {
    return static_cast<PPDXJobNote*>(NextOf(mJobNotes));
}
PPDXSpecialOption* PPDXControls::FirstSpecialOption() {
    return static_cast<PPDXSpecialOption*>(FirstOf(mSpecialOptions));
}
PPDXSpecialOption* PPDXControls::NextSpecialOption() {
    return static_cast<PPDXSpecialOption*>(NextOf(mSpecialOptions));
}

// --- Searches ------------------------------------------------------------------------------------

PPDXControl* PPDXControls::Find(const char* keyword, CNTL_TYPE* type, bool exact) {
    if (keyword == nullptr) return nullptr;
    CNTL_TYPE found;
    for (PPDXControl* control = First(&found); control != nullptr; control = Next(&found)) {
        if (!KeywordMatches(control->Keyword(), keyword, exact)) continue;
        if (type != nullptr) *type = found;
        return control;
    }
    return nullptr;
}

PPDXControl* PPDXControls::FindIn(const KindList& kind, const char* keyword, bool exact) {
    if (keyword == nullptr) return nullptr;
    for (ConstPointerListItr it = kind.mList.Begin(); it != kind.mList.End(); ++it) {
        PPDXControl* control = static_cast<PPDXControl*>(const_cast<void*>(*it));
        if (control != nullptr && KeywordMatches(control->Keyword(), keyword, exact))
            return control;
    }
    return nullptr;
}

PPDXPopupControl* PPDXControls::FindPopup(const char* keyword, bool exact) {
    return static_cast<PPDXPopupControl*>(FindIn(mPopups, keyword, exact));
}
PPDXBooleanControl* PPDXControls::FindBoolean(const char* keyword, bool exact) {
    return static_cast<PPDXBooleanControl*>(FindIn(mBooleans, keyword, exact));
}
PPDXRangeControl* PPDXControls::FindRangeControl(const char* keyword, bool exact) {
    return static_cast<PPDXRangeControl*>(FindIn(mRanges, keyword, exact));
}
PPDXJobNote* PPDXControls::FindJobNote(const char* keyword, bool exact) {
    return static_cast<PPDXJobNote*>(FindIn(mJobNotes, keyword, exact));
}
PPDXSpecialOption* PPDXControls::FindSpecialOption(const char* keyword, bool exact) {
    return static_cast<PPDXSpecialOption*>(FindIn(mSpecialOptions, keyword, exact));
}
