// The parsed model's set of option controls: one list of every control in the order added and
// one list per kind, with counters per kind that answer the counts under each display mode. The
// collection never owns its controls; the model root deletes them.
//
// First/Next walk every control that the current display mode lets through; Find walks with the
// same cursor. The typed walks use one cursor per kind and no display filter.
//
// Store records: the count of controls under tag 5000, id 5002 (four bytes), then each control
// visited by First/Next saved with its own records under id 5001 + k. On rebuilding, a control's
// kind comes from the marker record its class writes ('BlnC', 'JbNt', 'PopC', 'RngC', 'soCN').
#ifndef HALYX_PPDOBJECTS_PPDXCONTROLS_H
#define HALYX_PPDOBJECTS_PPDXCONTROLS_H

#include "Base/MacTypes.h"
#include "PPDObjects/CountArray.h"
#include "PPDObjects/PPDXControl.h"
#include "foundation/PointerList.h"
#include "foundation/PointerListItr.h"

class GroupIndex;
class PPDXBooleanControl;
class PPDXJobNote;
class PPDXPopupControl;
class PPDXRangeControl;
class PPDXSpecialOption;
class Settings;

class PPDXControls {
public:
    // Tag and id of the count record; members are stored from kFirstId on.
    static constexpr FourCharCode kCountTag = 5000;
    static constexpr SInt32 kCountId = 5002;
    static constexpr SInt32 kFirstId = 5001;
    // Record that holds the PPD's language-encoding text, handed to rebuilt job notes.
    static constexpr FourCharCode kHeaderTag = 1000;
    static constexpr SInt32 kLanguageEncodingId = 1007;

    PPDXControls();
    // Rebuilds every control the store holds. A missing or malformed count leaves the collection
    // empty; an id without a readable marker is skipped and the rest are still read, but the
    // rebuild then no longer counts as complete (see RebuildComplete).
    // With `rollDowns`, each control is hung under its parent as soon as it is listed (see
    // LinkParent), while it is still fresh in memory; a link that cannot be listed makes the
    // rebuild incomplete as well.
    explicit PPDXControls(Settings& settings, const GroupIndex* rollDowns = nullptr);
    // Leaves the controls alive.
    virtual ~PPDXControls();

    // Appends to the all list and to the first matching kind list (job note, boolean, popup,
    // integer range, special option), counting it there. A float range is only in the all list.
    // A null control is ignored. False when the control could not be listed for want of memory
    // (nothing is listed then, so that whoever made it can delete it).
    bool Add(PPDXControl* control);

    // Popups, booleans and ranges under the current display mode; job notes always under
    // DISPLAY_VISIBLE; special options always under DISPLAY_ALL.
    UInt32 PopupCount() const;
    UInt32 BooleanCount() const;
    UInt32 RangeCount() const;
    UInt32 JobNoteCount() const;
    UInt32 SpecialOptionsCount() const;
    // Popups, booleans, ranges and job notes; special options are not counted.
    UInt32 ControlCount() const;

    bool NoPopups() const { return PopupCount() == 0; }
    bool NoBooleanControls() const { return BooleanCount() == 0; }
    bool NoRangeControls() const { return RangeCount() == 0; }
    bool NoJobNotes() const { return JobNoteCount() == 0; }
    bool NoSpecialOptions() const { return SpecialOptionsCount() == 0; }
    // No popups, booleans, ranges or job notes (special options do not count).
    bool Empty() const;

    // The next control the current display mode lets through, its kind in *type (may be null);
    // null at the end.
    PPDXControl* First(CNTL_TYPE* type);
    PPDXControl* Next(CNTL_TYPE* type);

    PPDXPopupControl* FirstPopupControl();
    PPDXPopupControl* NextPopupControl();
    PPDXBooleanControl* FirstBooleanControl();
    PPDXBooleanControl* NextBooleanControl();
    PPDXRangeControl* FirstRangeControl();
    PPDXRangeControl* NextRangeControl();
    PPDXJobNote* FirstJobNote();
    PPDXJobNote* NextJobNote();
    PPDXSpecialOption* FirstSpecialOption();
    PPDXSpecialOption* NextSpecialOption();

    // The first control whose keyword equals `keyword` (exact) or holds it (not exact). Find
    // walks with First/Next (display filter, shared cursor); the kind searches walk their kind
    // list unfiltered and leave its cursor alone.
    PPDXControl* Find(const char* keyword, CNTL_TYPE* type, bool exact);
    PPDXPopupControl* FindPopup(const char* keyword, bool exact);
    PPDXBooleanControl* FindBoolean(const char* keyword, bool exact);
    PPDXRangeControl* FindRangeControl(const char* keyword, bool exact);
    PPDXJobNote* FindJobNote(const char* keyword, bool exact);
    PPDXSpecialOption* FindSpecialOption(const char* keyword, bool exact);

    // Resolves the control's pending parent keyword: the roll-down of that keyword in `groups`
    // becomes its parent and lists it; any other keyword leaves it without parent. False when the
    // roll-down could not list it for want of memory.
    static bool LinkParent(PPDXControl* control, const GroupIndex& groups);

    // Writes the count record, then each control visited by First/Next; the first failure ends
    // the save and is returned.
    OSErr Save(Settings& settings);
    // Reloads the value of each control visited by First/Next from id 5001 + k; the store must
    // come from the same model saved under the same display mode.
    OSErr Restore(Settings& settings);

    // False when a rebuild from a store skipped a control it was told of: a record that could not
    // be read, a control that could not be made or listed for want of memory, or a count larger
    // than the store. A model rebuilt that way lacks something the user set, so its owner refuses
    // it and parses the PPD instead. Always true for a collection not rebuilt from a store.
    bool RebuildComplete() const { return mRebuildComplete; }

private:
    // The control kind lists, with their cursors and counters.
    struct KindList {
        PointerList mList;
        PointerListItr mCursor;
        CountArray mCounts;
    };

    static void* FirstOf(KindList& kind);
    static void* NextOf(KindList& kind);
    static PPDXControl* FindIn(const KindList& kind, const char* keyword, bool exact);
    // Skips forward from `mAllCursor` to the first control the display mode lets through.
    PPDXControl* Filtered(CNTL_TYPE* type);
    // The control stored under `id`, built by the class its marker names; null without one.
    static PPDXControl* LoadControl(Settings& settings, SInt32 id, CString* languageEncoding);

    PointerList mAll;
    PointerListItr mAllCursor;
    bool mRebuildComplete = true;
    KindList mPopups;
    KindList mBooleans;
    KindList mRanges;
    KindList mJobNotes;
    KindList mSpecialOptions;

    PPDXControls(const PPDXControls&) = delete;
    PPDXControls& operator=(const PPDXControls&) = delete;
};

#endif  // HALYX_PPDOBJECTS_PPDXCONTROLS_H
