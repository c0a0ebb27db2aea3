// Reads arbitrary bytes, through a data stream, into a store that already holds records (one of
// them locked), the way saved print settings are read back. Aborts when a refused read changed the
// store, when an accepted one lost a record it held, or when the stream reads past its data.
// The length asked of the stream is the whole stream, or one byte more or less, by the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CoreFoundation/CFData.h"
#include "settings/CFDataStream.h"
#include "settings/Settings.h"

namespace {

struct Record {
    FourCharCode tag;
    SInt32 id;
    SInt32 attributes;
    std::string bytes;
    bool operator==(const Record& o) const {
        return tag == o.tag && id == o.id && attributes == o.attributes && bytes == o.bytes;
    }
};

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "settings read invariant broken: %s\n", what);
    std::abort();
}

std::vector<Record> Records(Settings& s) {
    std::vector<Record> out;
    Record r{};
    SInt32 length = 0;
    for (OSStatus err = s.First(&r.tag, &r.id, &length, &r.attributes); err == noErr;
         err = s.Next(&r.tag, &r.id, &length, &r.attributes)) {
        r.bytes.assign(static_cast<size_t>(length), '\0');
        SInt32 got = length;
        Check(length == 0 || s.Get(r.tag, r.id, &r.bytes[0], &got) == noErr, "record readable");
        out.push_back(r);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Settings store;
    SInt32 count = 2;
    store.Add(5000, 5002, &count, sizeof count);
    store.Add(HALYX_FOUR_CHAR('S', 't', 'C', 't'), 6001, "a shortcut keyword", 18);
    store.Lock(5000, 5002);
    const std::vector<Record> before = Records(store);

    CFDataRef bytes = CFDataCreate(kCFAllocatorDefault, data, static_cast<CFIndex>(size));
    if (bytes == nullptr) return 0;
    CFDataStream in(bytes);
    CFRelease(bytes);
    SInt32 length = 0;
    if (size > 0 && data[0] % 3 == 1) length = static_cast<SInt32>(size) + 1;
    if (size > 1 && data[0] % 3 == 2) length = static_cast<SInt32>(size) - 1;

    OSStatus err = store.Read(&in, length);
    Check(err == store.LastError(), "status kept as last error");
    std::vector<Record> after = Records(store);
    if (err != noErr) {
        Check(after == before, "refused read left the store unchanged");
        return 0;
    }
    Check(after.size() >= before.size(), "accepted read kept every record");
    for (size_t i = 0; i < before.size(); ++i)
        Check(after[i].tag == before[i].tag && after[i].id == before[i].id,
              "accepted read kept the records' order");
    Check(after[0] == before[0], "locked record unchanged");
    return 0;
}
