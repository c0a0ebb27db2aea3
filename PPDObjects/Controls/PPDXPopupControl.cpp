#include "PPDObjects/Controls/PPDXPopupControl.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "PPDUtils/TextConverter.h"
#include "foundation/CString.h"

namespace {

// Size of the buffer Rebuild converts a new display name into.
const UInt32 kRebuiltNameBufferSize = 256;

bool KeywordIs(const _PopupItem* item, const char* keyword) {
    return item != nullptr && item->mKeyword != nullptr && *item->mKeyword == keyword;
}

}  // namespace

// --- _PopupItem ----------------------------------------------------------------------------------

_PopupItem::_PopupItem()
    : mKeyword(nullptr),
      mLocalName(nullptr),
      mPSData(nullptr),
      mPSLength(0),
      mSelected(false),
      mDisplayName(nullptr) {}

_PopupItem::~_PopupItem() {
    delete mKeyword;
    if (mLocalName != nullptr) CFRelease(mLocalName);
    std::free(mPSData);
    delete[] mDisplayName;
}

const char* _PopupItem::displayName() {
    if (mDisplayName != nullptr || mLocalName == nullptr) return mDisplayName;
    CFStringEncoding encoding = CFStringGetSystemEncoding();
    CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(mLocalName), encoding) + 1;
    char* buffer = new (std::nothrow) char[static_cast<size_t>(size)];
    if (buffer == nullptr) return nullptr;
    if (!CFStringGetCString(mLocalName, buffer, size, encoding)) {
        delete[] buffer;
        return nullptr;
    }
    mDisplayName = buffer;
    return mDisplayName;
}

// --- Construction --------------------------------------------------------------------------------

PPDXPopupControl::PPDXPopupControl(const char* keyword, CFStringRef localName, PointerList& flags,
                                   bool visible, bool canSelectMultiple, PointerList& items,
                                   CString* defaultKeyword)
    : PPDXControl(keyword, localName, flags, nullptr, 0, visible),
      mCanSelectMultiple(canSelectMultiple),
      mDefaultKeyword(defaultKeyword),
      mItems(),
      mItemCursor(),
      mCurrentItem(),
      mLocalNameResult(nullptr) {
    mType = CNTL_POPUP;
    TakeItems(items);
    if (mDefaultKeyword != nullptr) SetKeywordSelect(*mDefaultKeyword, true);
}

PPDXPopupControl::~PPDXPopupControl() {
    delete mDefaultKeyword;
    DeleteItems();
    delete mLocalNameResult;
}

void PPDXPopupControl::TakeItems(PointerList& items) {
    for (PointerListItr it = items.Begin(); it != items.End(); ++it) {
        _PopupItem* item = static_cast<_PopupItem*>(*it);
        // An item that cannot be listed would be owned by nobody.
        if (mItems.PushBack(item) == PointerListItr()) delete item;
    }
}

void PPDXPopupControl::DeleteItems() {
    while (!mItems.Empty()) {
        delete static_cast<_PopupItem*>(mItems.Back());
        mItems.PopBack();
    }
    mItemCursor = PointerListItr();
    mCurrentItem = PointerListItr();
}

// --- Items ---------------------------------------------------------------------------------------

_PopupItem* PPDXPopupControl::FirstItem() {
    mItemCursor = mItems.Begin();
    return static_cast<_PopupItem*>(*mItemCursor);
}

_PopupItem* PPDXPopupControl::NextItem() {
    if (mItemCursor == PointerListItr() || mItemCursor == mItems.End()) return nullptr;
    ++mItemCursor;
    return static_cast<_PopupItem*>(*mItemCursor);
}

void PPDXPopupControl::AppendPopupItem(_PopupItem* item) {
    if (item != nullptr) mItems.PushBack(item);
}

_PopupItem* PPDXPopupControl::ItemAt(SInt32 position) const {
    if (position < 1 || static_cast<UInt32>(position) > mItems.Size()) return nullptr;
    ConstPointerListItr it = mItems.Begin();
    for (SInt32 i = 1; i < position; ++i) ++it;
    return static_cast<_PopupItem*>(const_cast<void*>(*it));
}

_PopupItem* PPDXPopupControl::CurrentItem() const {
    return static_cast<_PopupItem*>(*mCurrentItem);
}

// --- Values and selection ------------------------------------------------------------------------

SInt32 PPDXPopupControl::GetValue() {
    SInt32 position = 1;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++position) {
        const _PopupItem* item = static_cast<const _PopupItem*>(*it);
        if (item != nullptr && item->mSelected) return position;
    }
    return 0;
}

void PPDXPopupControl::SetValue(SInt32 position) {
    SInt32 index = 1;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++index) {
        _PopupItem* item = static_cast<_PopupItem*>(*it);
        if (item == nullptr) continue;
        item->mSelected = index == position;
        if (index == position) mCurrentItem = it;
    }
}

SInt32 PPDXPopupControl::DefaultValue() {
    if (mDefaultKeyword == nullptr) return 0;
    SInt32 position = 1;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++position) {
        if (KeywordIs(static_cast<const _PopupItem*>(*it), *mDefaultKeyword)) return position;
    }
    return 0;
}

const char* PPDXPopupControl::GetDefaultKeyword() const {
    return mDefaultKeyword != nullptr ? static_cast<const char*>(*mDefaultKeyword) : nullptr;
}

bool PPDXPopupControl::SetKeywordSelect(const char* keyword, bool select) {
    if (keyword == nullptr || mItems.Empty()) return false;
    bool found = false;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        _PopupItem* item = static_cast<_PopupItem*>(*it);
        if (item == nullptr) continue;
        if (KeywordIs(item, keyword)) {
            item->mSelected = select;
            mCurrentItem = it;
            found = true;
            if (mCanSelectMultiple) break;
        } else if (!mCanSelectMultiple) {
            item->mSelected = false;
        }
    }
    return found;
}

bool PPDXPopupControl::IsKeywordSelected(const char* keyword) {
    if (keyword == nullptr) return false;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        const _PopupItem* item = static_cast<const _PopupItem*>(*it);
        if (KeywordIs(item, keyword) && item->mSelected) return true;
    }
    return false;
}

// --- PostScript ----------------------------------------------------------------------------------

SInt32 PPDXPopupControl::GetKeywordPSData(const char* keyword, char* out) {
    if (keyword == nullptr) return 0;
    _PopupItem* found = nullptr;
    for (PointerListItr it = mItems.Begin(); it != mItems.End() && found == nullptr; ++it) {
        _PopupItem* item = static_cast<_PopupItem*>(*it);
        if (KeywordIs(item, keyword)) found = item;
    }
    if (found == nullptr) return 0;
    if (found->mPSLength < 0) found->mPSLength = 0;
    if (Keyword() == nullptr) return 0;
    return GeneratePSOutputData(out, found->mPSData, found->mPSLength, keyword, true);
}

SInt32 PPDXPopupControl::PostScript(char* out) {
    const _PopupItem* current = CurrentItem();
    if (current == nullptr || current->mKeyword == nullptr) return 0;
    return GetKeywordPSData(*current->mKeyword, out);
}

// --- Display names -------------------------------------------------------------------------------

CFStringRef PPDXPopupControl::GetKeywordCFLocalName(const char* keyword) {
    if (keyword == nullptr) return nullptr;
    CFStringRef name = nullptr;
    bool found = false;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        const _PopupItem* item = static_cast<const _PopupItem*>(*it);
        if (!KeywordIs(item, keyword)) continue;
        name = item->mLocalName;
        found = true;
    }
    return found ? name : nullptr;
}

const char* PPDXPopupControl::GetKeywordLocalName(const char* keyword) {
    delete mLocalNameResult;
    mLocalNameResult = nullptr;
    CFStringRef name = GetKeywordCFLocalName(keyword);
    if (name == nullptr) return nullptr;
    mLocalNameResult = CFStringToCString(name);
    return mLocalNameResult != nullptr ? static_cast<const char*>(*mLocalNameResult) : nullptr;
}

// --- Rebuild -------------------------------------------------------------------------------------

bool PPDXPopupControl::Rebuild(const char* name, PointerList& items, CString* defaultKeyword) {
    const _PopupItem* current = CurrentItem();
    if (current == nullptr) return false;
    CString kept(current->mKeyword != nullptr ? static_cast<const char*>(*current->mKeyword)
                                              : nullptr);

    const char* userName = UserName();
    bool same = (userName == nullptr && name == nullptr) ||
                (userName != nullptr && name != nullptr && std::strcmp(userName, name) == 0);
    if (!same) {
        delete mUserName;
        mUserName = nullptr;
        if (mLocalName != nullptr) CFRelease(mLocalName);
        mLocalName = name != nullptr ? CFStringCreateWithCString(kCFAllocatorDefault, name,
                                                                 CFStringGetSystemEncoding())
                                     : nullptr;
        if (mLocalName != nullptr) {
            char buffer[kRebuiltNameBufferSize];
            TextConverter::CFStringToCstring(mLocalName, buffer, sizeof(buffer));
            mUserName = new (std::nothrow) CString(buffer);
        }
    }

    DeleteItems();
    TakeItems(items);
    delete mDefaultKeyword;
    mDefaultKeyword = defaultKeyword;
    if (mDefaultKeyword != nullptr) SetKeywordSelect(*mDefaultKeyword, true);
    if (!kept.Empty()) SetKeywordSelect(kept, true);
    return true;
}
