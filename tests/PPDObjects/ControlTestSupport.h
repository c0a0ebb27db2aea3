// Helpers for the element and control tests: owned platform strings, malloc code blocks, flag
// lists, the two-call PostScript protocol and a store that travels through its flattened form.
#ifndef HALYX_TESTS_PPDOBJECTS_CONTROLTESTSUPPORT_H
#define HALYX_TESTS_PPDOBJECTS_CONTROLTESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringEncodingNames.h"
#include "Memory/MacMemory.h"
#include "PPDObjects/PPDXControl.h"
#include "foundation/CString.h"
#include "foundation/PointerList.h"
#include "settings/Settings.h"

namespace controltest {

// A platform string released when the holder goes.
class Name {
public:
    explicit Name(const char* text)
        : mRef(CFStringCreateWithCString(nullptr, text, kCFStringEncodingMacRoman)) {}
    ~Name() {
        if (mRef != nullptr) CFRelease(mRef);
    }
    operator CFStringRef() const { return mRef; }

private:
    CFStringRef mRef;
    Name(const Name&) = delete;
    Name& operator=(const Name&) = delete;
};

// A malloc copy of `text` without terminator, as the parser hands code over.
inline unsigned char* Code(const std::string& text) {
    unsigned char* block = static_cast<unsigned char*>(std::malloc(text.size() + 1));
    std::memcpy(block, text.data(), text.size());
    return block;
}

// A list of new flag strings whose ownership passes to the control built with it.
inline void FillFlags(PointerList& list, std::initializer_list<const char*> words) {
    for (const char* word : words) list.PushBack(new CString(word));
}

// Runs the two-call protocol and checks both calls agree on the count.
inline std::string PostScriptOf(PPDXControl& control) {
    SInt32 size = control.PostScript(nullptr);
    std::string out(static_cast<size_t>(size) + 1, '#');
    SInt32 written = control.PostScript(&out[0]);
    EXPECT_EQ(written, size);
    EXPECT_EQ(out.back(), '#') << "wrote past the announced size";
    out.resize(static_cast<size_t>(size));
    return out;
}

// The store's records after flattening and unflattening, as a reader in another dialog sees them.
inline std::unique_ptr<Settings> Reloaded(Settings& store) {
    Handle flat = nullptr;
    EXPECT_EQ(store.GetSettingsHandle(&flat), noErr);
    std::unique_ptr<Settings> copy(new Settings(flat));
    DisposeHandle(flat);
    EXPECT_TRUE(copy->Valid());
    return copy;
}

inline std::string Record(Settings& store, FourCharCode tag, SInt32 id) {
    SInt32 length = 0;
    if (store.Get(tag, id, nullptr, &length) != noErr) return "<missing>";
    std::string bytes(static_cast<size_t>(length), '\0');
    if (length > 0 && store.Get(tag, id, &bytes[0], &length) != noErr) return "<unreadable>";
    return bytes;
}

inline bool HasRecord(Settings& store, FourCharCode tag, SInt32 id) {
    SInt32 length = 0;
    return store.Get(tag, id, nullptr, &length) == noErr;
}

inline std::string Str(const char* text) {
    return text != nullptr ? std::string(text) : std::string("<null>");
}

}  // namespace controltest

#endif  // HALYX_TESTS_PPDOBJECTS_CONTROLTESTSUPPORT_H
