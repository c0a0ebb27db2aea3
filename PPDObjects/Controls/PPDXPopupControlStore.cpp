// The popup's records in the settings store: writing them, rebuilding a popup from them, and
// reloading only the selection.
#include <cstdlib>
#include <new>

#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/ModelRecords.h"
#include "PPDObjects/StoreCounts.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

namespace {

const FourCharCode kPopupTag = HALYX_FOUR_CHAR('P', 'o', 'p', 'C');
const FourCharCode kMultipleTag = HALYX_FOUR_CHAR('P', 'C', 'M', 'S');
const FourCharCode kDefaultTag = HALYX_FOUR_CHAR('P', 'C', 'D', 'K');
const FourCharCode kItemCountTag = HALYX_FOUR_CHAR('P', 'C', 'I', 'C');
const FourCharCode kItemKeywordTag = HALYX_FOUR_CHAR('P', 'C', 'I', 'K');
const FourCharCode kItemNameTag = HALYX_FOUR_CHAR('P', 'C', 'F', 'N');
const FourCharCode kItemBytesNameTag = HALYX_FOUR_CHAR('P', 'C', 'I', 'N');
const FourCharCode kItemCodeTag = HALYX_FOUR_CHAR('P', 'C', 'I', 'P');
const FourCharCode kItemSelectedTag = HALYX_FOUR_CHAR('P', 'C', 'I', 'S');

// The id of item `index` of the popup stored under `id`; false when it leaves the id range.
bool ItemId(SInt32 id, SInt32 index, SInt32* itemId) {
    return OffsetId(0, static_cast<SInt64>(id) * PPDXPopupControl::kItemIdStride + index, itemId);
}

// The display name from 'PCFN', else from the system-encoding bytes of 'PCIN'.
CFStringRef ReadItemName(Settings& settings, SInt32 id) {
    CFStringRef name = GetSettingsCFString(settings, kItemNameTag, id);
    if (name != nullptr) return name;
    CString* bytes = GetSettingsString(settings, kItemBytesNameTag, id);
    if (bytes == nullptr) return nullptr;
    name = CFStringCreateWithCString(kCFAllocatorDefault, *bytes, CFStringGetSystemEncoding());
    delete bytes;
    return name;
}

}  // namespace

PPDXPopupControl::PPDXPopupControl(Settings& settings, SInt32 id)
    : PPDXControl(settings, id),
      mCanSelectMultiple(false),
      mDefaultKeyword(nullptr),
      mItems(),
      mItemCursor(),
      mCurrentItem(),
      mLocalNameResult(nullptr) {
    mType = CNTL_POPUP;
    UInt8 multiple = 0;
    if (ReadModelRecordExactly(settings, kMultipleTag, id, &multiple, 1))
        mCanSelectMultiple = multiple != 0;
    mDefaultKeyword = GetSettingsString(settings, kDefaultTag, id);

    SInt32 count = 0;
    if (!ReadModelRecordExactly(settings, kItemCountTag, id, &count, sizeof count) || count <= 0)
        return;
    count = PlausibleCount(settings, count);
    const char* lastSelected = nullptr;
    for (SInt32 i = 0; i < count; ++i) {
        SInt32 itemId;
        if (!ItemId(id, i, &itemId)) break;
        _PopupItem* item = new (std::nothrow) _PopupItem;
        if (item == nullptr) {
            settings.NoteReadFailure();
            break;
        }
        ReadItem(item, settings, itemId);
        if (mItems.PushBack(item) == PointerListItr()) {
            delete item;
            settings.NoteReadFailure();
            break;
        }
        if (item->mSelected && item->mKeyword != nullptr) lastSelected = *item->mKeyword;
    }
    const char* chosen = lastSelected != nullptr ? lastSelected : GetDefaultKeyword();
    if (chosen != nullptr) SetKeywordSelect(chosen, true);
}

void PPDXPopupControl::ReadItem(_PopupItem* item, Settings& settings, SInt32 id) {
    item->mKeyword = GetSettingsString(settings, kItemKeywordTag, id);
    item->mLocalName = ReadItemName(settings, id);
    SInt32 length = 0;
    item->mPSData = ReadModelRecordBlock(settings, kItemCodeTag, id, &length);
    if (item->mPSData != nullptr) item->mPSLength = length;
    UInt8 selected = 0;
    if (ReadModelRecordExactly(settings, kItemSelectedTag, id, &selected, 1))
        item->mSelected = selected != 0;
}

OSErr PPDXPopupControl::Save(Settings& settings, SInt32 id) {
    OSErr err = PPDXControl::Save(settings, id);
    if (err != noErr) return err;
    err = static_cast<OSErr>(WriteModelMarker(settings, kPopupTag, id));
    if (err != noErr) return err;
    err = static_cast<OSErr>(WriteModelBool(settings, kMultipleTag, id, mCanSelectMultiple));
    if (err != noErr) return err;
    if (mDefaultKeyword != nullptr) {
        err = static_cast<OSErr>(WriteModelString(settings, kDefaultTag, id, *mDefaultKeyword));
        if (err != noErr) return err;
    }
    if (mItems.Empty()) return noErr;
    SInt32 count = static_cast<SInt32>(mItems.Size());
    err = static_cast<OSErr>(settings.Add(kItemCountTag, id, &count, sizeof count));
    if (err != noErr) return err;
    SInt32 index = 0;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++index) {
        SInt32 itemId;
        if (!ItemId(id, index, &itemId)) return paramErr;
        err = SaveItem(static_cast<_PopupItem*>(*it), settings, itemId);
        if (err != noErr) return err;
    }
    return noErr;
}

OSErr PPDXPopupControl::SaveItem(_PopupItem* item, Settings& settings, SInt32 id) {
    OSErr err;
    if (item->mKeyword != nullptr) {
        err = static_cast<OSErr>(WriteModelString(settings, kItemKeywordTag, id, *item->mKeyword));
        if (err != noErr) return err;
    }
    if (item->mLocalName != nullptr) {
        err = static_cast<OSErr>(WriteModelCFString(settings, kItemNameTag, id, item->mLocalName));
        if (err != noErr) return err;
    }
    if (item->mPSData != nullptr) {
        err = static_cast<OSErr>(settings.Add(kItemCodeTag, id, item->mPSData,
                                              item->mPSLength > 0 ? item->mPSLength : 0));
        if (err != noErr) return err;
    }
    return static_cast<OSErr>(WriteModelBool(settings, kItemSelectedTag, id, item->mSelected));
}

OSErr PPDXPopupControl::Restore(Settings& settings, SInt32 id) {
    if (mItems.Empty()) return noErr;
    const char* lastSelected = nullptr;
    SInt32 index = 0;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++index) {
        _PopupItem* item = static_cast<_PopupItem*>(*it);
        SInt32 itemId;
        if (!ItemId(id, index, &itemId)) return paramErr;
        UInt8 byte = 0;
        SInt32 length = 1;
        OSErr err = static_cast<OSErr>(settings.Get(kItemSelectedTag, itemId, &byte, &length));
        if (err != noErr) return err;
        if (item == nullptr) continue;
        item->mSelected = length == 1 && byte != 0;
        if (item->mSelected && item->mKeyword != nullptr) lastSelected = *item->mKeyword;
    }
    if (lastSelected != nullptr) SetKeywordSelect(lastSelected, true);
    return noErr;
}
