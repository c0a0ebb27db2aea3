// The popups a PPD marks for quick access. The list never owns its entries; it may hold other
// controls and null entries (a stored shortcut whose control is gone), which count in Count but
// which First/Next pass over.
//
// Store records, all under the tag 'StCt': the list size under id 6000 (four bytes), then the
// keyword of each popup visited by First/Next under id 6001 + k (popups without keyword take no
// id).
#ifndef HALYX_PPDOBJECTS_PPDXSHORTCUTS_H
#define HALYX_PPDOBJECTS_PPDXSHORTCUTS_H

#include "Base/MacTypes.h"
#include "foundation/PointerList.h"
#include "foundation/PointerListItr.h"

class PPDXControls;
class PPDXPopupControl;
class Settings;

class PPDXShortcuts {
public:
    static constexpr FourCharCode kTag = HALYX_FOUR_CHAR('S', 't', 'C', 't');
    static constexpr SInt32 kCountId = 6000;
    static constexpr SInt32 kFirstId = 6001;

    // Copies the list of controls (not the controls).
    explicit PPDXShortcuts(const PointerList& controls);
    // Looks each stored keyword up in `controls` with an exact Find (display filter applies) and
    // appends the result, null included; reading ends at the first missing or empty keyword
    // record. Without a control collection, or without a count record, the list stays empty.
    PPDXShortcuts(Settings& settings, PPDXControls* controls);
    // Leaves the controls alive.
    virtual ~PPDXShortcuts();

    UInt32 Count() const { return mShortcuts.Size(); }
    bool Empty() const { return mShortcuts.Empty(); }

    // The next entry that is a popup, or null.
    PPDXPopupControl* First();
    PPDXPopupControl* Next();
    // The first popup whose keyword equals `keyword` (exact) or holds it; walks with First/Next.
    PPDXPopupControl* Find(const char* keyword, bool exact);

    // The fixed lookups, each an exact Find. MediaSource and Huemark search texts that are no PPD
    // keyword, so they answer null for every PPD.
    PPDXPopupControl* PageSize() { return Find("*PageSize", true); }
    PPDXPopupControl* InputSlot() { return Find("*InputSlot", true); }
    PPDXPopupControl* Duplex() { return Find("*QZDuplex", true); }
    PPDXPopupControl* Orientation() { return Find("*QZ_PAPER_ORIENTATION", true); }
    PPDXPopupControl* MediaSource() {
        return Find("Need media source keyword... stay tuned", true);
    }
    PPDXPopupControl* Huemark() { return Find("Need Huemark keyword... stay tuned", true); }

    // The count record, then the keyword of each popup; the first failure is returned.
    OSErr Save(Settings& settings);

private:
    PPDXPopupControl* SkipToPopup();

    PointerList mShortcuts;
    PointerListItr mCursor;

    PPDXShortcuts(const PPDXShortcuts&) = delete;
    PPDXShortcuts& operator=(const PPDXShortcuts&) = delete;
};

#endif  // HALYX_PPDOBJECTS_PPDXSHORTCUTS_H
