// Plays one sequence of calls on an ordinary store and on one that starts by appending records
// straight into its flattened form, and aborts when the two differ in any status, count or byte
// read, or in the flattened form they save at the end.
//
// Input: records of three bytes and a body: the call (low nibble of the first byte), the tag
// among a few (high nibble), the id (1 to 4), the length of the body (up to 40 bytes), then the
// body, which becomes the record's bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CoreFoundation/CFData.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"
#include "testing/FailureInjection.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "append-first store promise broken: %s\n", what);
    std::abort();
}

const FourCharCode kTags[] = {HALYX_FOUR_CHAR('K', 'y', 'W', 'd'),
                              HALYX_FOUR_CHAR('L', 'c', 'N', 'm'),
                              HALYX_FOUR_CHAR('P', 'S', 'D', 't'), 0};

// The flattened form a store saves through a stream, or null when it cannot.
CFDataRef Saved(Settings& store, bool clear) {
    CFDataStream out;
    OSStatus err = clear ? store.SaveAndClear(&out) : store.Save(&out);
    if (err != noErr || out.data() == nullptr) return nullptr;
    return CFDataCreateCopy(kCFAllocatorDefault, out.data());
}

bool SameData(CFDataRef a, CFDataRef b) {
    if (a == nullptr || b == nullptr) return a == b;
    return CFDataGetLength(a) == CFDataGetLength(b) &&
           std::memcmp(CFDataGetBytePtr(a), CFDataGetBytePtr(b),
                       static_cast<size_t>(CFDataGetLength(a))) == 0;
}

// A stream that keeps no bytes: a save needs memory of its own to write through it.
class NoRoomStream : public DataStream {
public:
    NoRoomStream() { mValid = true; }
    bool out(const void*, SInt32) override { return true; }
    bool in(void*, SInt32, SInt32*, OSErr*) override { return false; }
};

// One call on both stores.
void Play(Settings& plain, Settings& appended, uint8_t op, FourCharCode tag, SInt32 id,
          const uint8_t* body, SInt32 length) {
    char a[64], b[64];
    SInt32 la = sizeof a, lb = sizeof b;
    switch (op % 8) {
        case 0:
        case 1:
        case 2:  // most calls add, as a model saving itself does
            Check(plain.Add(tag, id, body, length) == appended.Add(tag, id, body, length),
                  "Add status");
            break;
        case 3: {
            const OSStatus ea = plain.Get(tag, id, a, &la);
            const OSStatus eb = appended.Get(tag, id, b, &lb);
            Check(ea == eb && la == lb, "Get status and length");
            Check(ea != noErr || std::memcmp(a, b, static_cast<size_t>(la)) == 0, "Get bytes");
            break;
        }
        case 4:
            Check(plain.Set(tag, id, body, length) == appended.Set(tag, id, body, length),
                  "Set status");
            break;
        case 5:
            Check(plain.Remove(tag, id) == appended.Remove(tag, id), "Remove status");
            break;
        case 6:
            Check(plain.Lock(tag, id) == appended.Lock(tag, id), "Lock status");
            break;
        default:
            if (length % 2 != 0) {
                // A save that runs out of memory keeps every record in both.
                HalyxFailureScope scope;
                NoRoomStream out;
                HalyxInjectFailures(kHalyxFailAllocation, 0, 2);
                const OSStatus ea = plain.SaveAndClear(&out);
                HalyxInjectFailures(kHalyxFailAllocation, 0, 2);
                Check(ea == appended.SaveAndClear(&out) && ea == memFullErr, "failed save status");
            }
            Check(plain.Count() == appended.Count() && plain.Empty() == appended.Empty(), "Count");
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Settings plain;
    Settings appended(Settings::kAppendFirst);
    if (!plain.Valid() || !appended.Valid()) return 0;
    size_t at = 0;
    while (at + 3 <= size) {
        const uint8_t op = data[at] & 15;
        const FourCharCode tag = kTags[(data[at] >> 4) % 4];
        const SInt32 id = data[at + 1] % 4 + 1;
        size_t length = data[at + 2] % 41;
        at += 3;
        if (length > size - at) length = size - at;
        Play(plain, appended, op, tag, id, data + at, static_cast<SInt32>(length));
        at += length;
    }
    Check(plain.Count() == appended.Count(), "final count");
    CFDataRef a = Saved(plain, false);
    CFDataRef b = Saved(appended, size % 2 == 1);
    Check(SameData(a, b), "the same flattened form");
    if (a != nullptr) CFRelease(a);
    if (b != nullptr) CFRelease(b);
    return 0;
}
