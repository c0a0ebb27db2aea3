// A printer option with a list of choices (PickOne or PickMany). Each choice is a _PopupItem with
// its option keyword, display name and PostScript code. The control knows which choices are
// selected, which one the PPD names as default, and which one was chosen last (the current item):
// only the current item's code becomes PostScript, also for PickMany options.
//
// Values are 1-based item positions; 0 means "none".
//
// Store records after the control's, under the control's id N: 'PopC' one-byte popup marker,
// 'PCMS' one byte can-select-multiple, 'PCDK' default keyword, 'PCIC' four-byte item count (only
// when there are items). Item i (from 0) writes under id N * 100 + i: 'PCIK' keyword, 'PCFN'
// display name as Unicode external representation, 'PCIP' code bytes, 'PCIS' one byte selected.
// A 'PCIN' record (display name as system-encoding bytes) is read in place of a missing 'PCFN'.
#ifndef HALYX_PPDOBJECTS_CONTROLS_PPDXPOPUPCONTROL_H
#define HALYX_PPDOBJECTS_CONTROLS_PPDXPOPUPCONTROL_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXControl.h"
#include "foundation/PointerList.h"
#include "foundation/PointerListItr.h"

class CString;
class Settings;

// One choice of a popup. A plain record: whoever builds it fills the fields, and the item owns
// what they point to once it is handed to a control.
struct _PopupItem {
    // Every field empty, length 0, not selected.
    _PopupItem();
    // Deletes the keyword, releases the display name, frees the code and deletes the cache.
    ~_PopupItem();

    // The display name in the system encoding, converted on the first call and kept; null when
    // the item has no display name or it cannot be converted.
    const char* displayName();

    CString* mKeyword;       // option keyword without "*", may be null
    CFStringRef mLocalName;  // one retain, may be null
    unsigned char* mPSData;  // malloc block, may be null
    SInt32 mPSLength;
    bool mSelected;
    char* mDisplayName;  // new[] cache of displayName, may be null

private:
    _PopupItem(const _PopupItem&) = delete;
    _PopupItem& operator=(const _PopupItem&) = delete;
};

class PPDXPopupControl : public PPDXControl {
public:
    // Marker byte written into 'PopC'.
    static constexpr UInt8 kPopupMarker = 1;
    // Item records live under id N * kItemIdStride + i.
    static constexpr SInt32 kItemIdStride = 100;

    // Takes ownership of the items in `items` (the list itself is copied) and of `defaultKeyword`
    // (may be null); a default is selected with SetKeywordSelect(default, true). No PostScript
    // data of its own: the code lives in the items.
    PPDXPopupControl(const char* keyword, CFStringRef localName, PointerList& flags, bool visible,
                     bool canSelectMultiple, PointerList& items, CString* defaultKeyword);
    // The control part, then 'PCMS' (exactly one byte), 'PCDK' and the items counted by 'PCIC'
    // (exactly four bytes). Afterwards the last item read as selected, else the default, is
    // selected. Missing or malformed records leave the defaults.
    PPDXPopupControl(Settings& settings, SInt32 id);
    // Deletes the default keyword, then every item (last to first).
    ~PPDXPopupControl() override;

    UInt32 ItemCount() const { return mItems.Size(); }
    // The control's own item walk: the item, or null at the end.
    _PopupItem* FirstItem();
    _PopupItem* NextItem();
    // Appends `item` and takes ownership; a null item is ignored.
    void AppendPopupItem(_PopupItem* item);

    // Position of the first selected item; 0 when none is.
    SInt32 GetValue();
    // Selects the item at `position` and makes it current, deselecting every other item. A
    // position outside 1..ItemCount deselects all and leaves the current item as it was.
    void SetValue(SInt32 position);
    // Position of the first item keyed by the default keyword; 0 when there is none.
    SInt32 DefaultValue();
    void ResetToDefaultValue() override { SetValue(DefaultValue()); }

    const char* GetDefaultKeyword() const;
    bool CanSelectMultipleItems() const { return mCanSelectMultiple; }

    // Sets the selected flag of the item keyed `keyword` to `select` and makes it current. In
    // single-selection mode every other item is deselected (even when `select` is false) and the
    // walk goes on, so the last of several equal keys becomes current; in multiple-selection mode
    // the walk stops at the first match. False when no item has that keyword.
    bool SetKeywordSelect(const char* keyword, bool select);
    // True when an item keyed `keyword` is selected.
    bool IsKeywordSelected(const char* keyword);
    // The feature block of the first item keyed `keyword` (two-call protocol); 0 when there is no
    // such item or the control has no keyword.
    SInt32 GetKeywordPSData(const char* keyword, char* out);
    // The display name of the last item keyed `keyword`, in the system encoding. The control keeps
    // the text until the next call or its destruction; null when there is no such item or name.
    const char* GetKeywordLocalName(const char* keyword);
    // The display name of the last item keyed `keyword` (not retained), or null.
    CFStringRef GetKeywordCFLocalName(const char* keyword);

    // Replaces the choices: a new display name when `name` differs from the current one, the new
    // items and default (both taken over), then the previous current choice selected again when
    // the new list has it. False (nothing changed) when there is no current item.
    bool Rebuild(const char* name, PointerList& items, CString* defaultKeyword);

    // The feature block of the current item; 0 when there is none or it has no keyword.
    SInt32 PostScript(char* out) override;
    OSErr Save(Settings& settings, SInt32 id) override;
    // Reloads every item's selected flag, then selects the last one read as selected.
    OSErr Restore(Settings& settings, SInt32 id) override;

    // The current item, or null.
    _PopupItem* CurrentItem() const;

private:
    // The item at a 1-based position, or null.
    _PopupItem* ItemAt(SInt32 position) const;
    // Appends the items of `items` and takes ownership of them.
    void TakeItems(PointerList& items);
    void DeleteItems();
    // Writes the records of one item under `id`.
    OSErr SaveItem(_PopupItem* item, Settings& settings, SInt32 id);
    // Fills `item` from the records under `id`.
    static void ReadItem(_PopupItem* item, Settings& settings, SInt32 id);

    bool mCanSelectMultiple;
    CString* mDefaultKeyword;  // may be null
    PointerList mItems;        // owned _PopupItem records
    PointerListItr mItemCursor;
    PointerListItr mCurrentItem;  // null position when there is no current item
    CString* mLocalNameResult;    // text handed out by GetKeywordLocalName, may be null
};

#endif  // HALYX_PPDOBJECTS_CONTROLS_PPDXPOPUPCONTROL_H
