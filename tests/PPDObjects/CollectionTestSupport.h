// Helpers for the popup and collection tests: platform strings, popup items, malloc code blocks,
// a store that travels through its flattened form, and an owner that deletes the members a
// collection never deletes itself.
#ifndef HALYX_TESTS_PPDOBJECTS_COLLECTIONTESTSUPPORT_H
#define HALYX_TESTS_PPDOBJECTS_COLLECTIONTESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CoreFoundation/CFString.h"
#include "Memory/MacMemory.h"
#include "PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDObjects/PPDXControl.h"
#include "foundation/CString.h"
#include "foundation/PointerList.h"
#include "settings/Settings.h"

namespace collectiontest {

// A platform string released when the holder goes.
class Text {
public:
    explicit Text(const char* text)
        : mRef(CFStringCreateWithCString(nullptr, text, kCFStringEncodingMacRoman)) {}
    ~Text() {
        if (mRef != nullptr) CFRelease(mRef);
    }
    operator CFStringRef() const { return mRef; }

private:
    CFStringRef mRef;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
};

// A malloc copy of `text` without terminator; null for an empty text.
inline unsigned char* Code(const std::string& text) {
    if (text.empty()) return nullptr;
    unsigned char* block = static_cast<unsigned char*>(std::malloc(text.size()));
    std::memcpy(block, text.data(), text.size());
    return block;
}

// A new popup item as the PPD parser makes one; an empty name or code leaves the field absent.
inline _PopupItem* Item(const char* keyword, const char* name = "", const std::string& code = "",
                        bool selected = false) {
    _PopupItem* item = new _PopupItem;
    if (keyword != nullptr) item->mKeyword = new CString(keyword);
    if (name[0] != '\0')
        item->mLocalName = CFStringCreateWithCString(nullptr, name, kCFStringEncodingMacRoman);
    item->mPSData = Code(code);
    item->mPSLength = static_cast<SInt32>(code.size());
    item->mSelected = selected;
    return item;
}

// A popup keyed `keyword` whose items are keyed by `keys` (each with display name "<key> name"
// and code "<key> code\n").
inline PPDXPopupControl* Popup(const char* keyword, const std::vector<const char*>& keys,
                               const char* defaultKey, bool multiple = false, bool visible = true,
                               CFStringRef localName = nullptr) {
    PointerList flags;
    PointerList items;
    for (const char* key : keys) {
        std::string name = std::string(key) + " name";
        items.PushBack(Item(key, name.c_str(), std::string(key) + " code\n"));
    }
    CString* defaultKeyword = defaultKey != nullptr ? new CString(defaultKey) : nullptr;
    return new PPDXPopupControl(keyword, localName, flags, visible, multiple, items,
                                defaultKeyword);
}

// Runs the two-call protocol and checks that both calls agree and nothing is written past.
inline std::string PostScriptOf(PPDXControl& control) {
    SInt32 size = control.PostScript(nullptr);
    std::string out(static_cast<size_t>(size) + 1, '#');
    SInt32 written = control.PostScript(&out[0]);
    EXPECT_EQ(written, size);
    EXPECT_EQ(out.back(), '#') << "wrote past the announced size";
    out.resize(static_cast<size_t>(size));
    return out;
}

// The store as a reader in another dialog sees it: flattened and read back.
inline std::unique_ptr<Settings> Reloaded(Settings& store) {
    Handle flat = nullptr;
    EXPECT_EQ(store.GetSettingsHandle(&flat), noErr);
    std::unique_ptr<Settings> copy(new Settings(flat));
    DisposeHandle(flat);
    EXPECT_TRUE(copy->Valid());
    return copy;
}

inline bool HasRecord(Settings& store, FourCharCode tag, SInt32 id) {
    SInt32 length = 0;
    return store.Get(tag, id, nullptr, &length) == noErr;
}

inline void PutCount(Settings& store, FourCharCode tag, SInt32 id, SInt32 count) {
    store.Add(tag, id, &count, sizeof count);
}

inline std::string KeywordOf(PPDXElement* element) {
    return element != nullptr && element->Keyword() != nullptr ? element->Keyword() : "<none>";
}

// Deletes what it holds, as the model root deletes its members.
template <typename T>
class Owner {
public:
    ~Owner() {
        for (T* member : mMembers) delete member;
    }
    template <typename U>
    U* Keep(U* member) {
        mMembers.push_back(member);
        return member;
    }

private:
    std::vector<T*> mMembers;
};

}  // namespace collectiontest

#endif  // HALYX_TESTS_PPDOBJECTS_COLLECTIONTESTSUPPORT_H
