// Unflattens arbitrary bytes into a collection that already holds items (one of them locked) and
// checks the outcome itself, aborting on any violation:
//   - refused: the collection holds exactly what it held before;
//   - accepted: it holds its old items with those the form names replaced in place and the form's
//     new items appended in order, exactly as the same form read into an empty collection says.
// Each input is tried as given and once more with its trailing checksum made right, so that
// mutations also reach the checks behind the checksum. Some runs fail an allocation part-way.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "Collections/Collections.h"
#include "Memory/MacMemory.h"
#include "testing/FailureInjection.h"

namespace {

struct Record {
    CollectionTag tag;
    SInt32 id;
    SInt32 attributes;
    std::string bytes;
    bool operator==(const Record& o) const {
        return std::tie(tag, id, attributes, bytes) == std::tie(o.tag, o.id, o.attributes, o.bytes);
    }
};

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "collection unflatten invariant broken: %s\n", what);
    std::abort();
}

std::vector<Record> Snapshot(Collection c) {
    std::vector<Record> out;
    SInt32 n = CountCollectionItems(c);
    for (SInt32 i = 1; i <= n; ++i) {
        Record r{};
        SInt32 size = 0;
        Check(GetIndexedCollectionItemInfo(c, i, &r.tag, &r.id, &size, &r.attributes) == noErr,
              "indexed item readable");
        r.bytes.assign(static_cast<size_t>(size), '\0');
        SInt32 got = size;
        Check(GetCollectionItem(c, r.tag, r.id, &got, &r.bytes[0]) == noErr && got == size,
              "item bytes readable");
        out.push_back(r);
    }
    return out;
}

Collection MakeBase() {
    Collection c = NewCollection();
    if (c == nullptr) return nullptr;
    const CollectionTag base = HALYX_FOUR_CHAR('b', 'a', 's', 'e');
    AddCollectionItem(c, base, 1, 3, "one");
    AddCollectionItem(c, base, 2, 3, "two");
    AddCollectionItem(c, base, 3, 0, nullptr);
    AddCollectionItem(c, 1000, 1001, 4, "\0\4\0\0");
    SetCollectionItemInfo(c, base, 2, kCollectionLockMask, kCollectionLockMask);
    return c;
}

// The merge a successful unflatten must produce.
std::vector<Record> Merge(std::vector<Record> items, const std::vector<Record>& added) {
    for (const Record& r : added) {
        bool replaced = false;
        for (Record& old : items) {
            if (old.tag == r.tag && old.id == r.id) {
                Check((old.attributes & kCollectionLockMask) == 0,
                      "accepted form replaced a locked item");
                old = r;
                replaced = true;
                break;
            }
        }
        if (!replaced) items.push_back(r);
    }
    return items;
}

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t crc = 0xffffffffu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xffffffffu;
}

void RunOne(const std::string& input, int failAllocation) {
    Collection c = MakeBase();
    if (c == nullptr) return;
    const std::vector<Record> before = Snapshot(c);
    Handle h = NewHandle(static_cast<Size>(input.size()));
    if (h == nullptr) {
        DisposeCollection(c);
        return;
    }
    if (!input.empty()) std::memcpy(*h, input.data(), input.size());

    if (failAllocation >= 0) HalyxInjectFailures(kHalyxFailAllocation, failAllocation, 1);
    OSStatus err = UnflattenCollectionFromHdl(c, h);
    bool injected = HalyxInjectedFailureCount(kHalyxFailAllocation) > 0;
    HalyxResetFailures();

    if (err != noErr) {
        Check(!injected || err == memFullErr || err == collectionVersionErr ||
                  err == collectionItemLockedErr,
              "status of a failed allocation");
        Check(Snapshot(c) == before, "refused form left the collection unchanged");
    } else {
        Check(!injected, "success despite a failed allocation");
        Collection fresh = NewCollection();
        Check(fresh != nullptr && UnflattenCollectionFromHdl(fresh, h) == noErr,
              "accepted form reads into an empty collection");
        const std::vector<Record> added = Snapshot(fresh);
        Check(Snapshot(c) == Merge(before, added), "accepted form merged in place and order");

        // What was read flattens and reads back to the same items.
        Handle again = NewHandle(0);
        Collection copy = NewCollection();
        Check(FlattenCollectionToHdl(fresh, again) == noErr &&
                  UnflattenCollectionFromHdl(copy, again) == noErr && Snapshot(copy) == added,
              "re-flattened form reads back the same");
        DisposeCollection(copy);
        DisposeHandle(again);
        DisposeCollection(fresh);
    }
    DisposeHandle(h);
    DisposeCollection(c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    // A deterministic choice per input of whether, and where, an allocation fails.
    uint32_t h = Crc32(data, size);
    int failAllocation = (h % 4 == 0) ? static_cast<int>((h >> 8) % 16) : -1;
    RunOne(input, failAllocation);
    if (size >= 4) {
        uint32_t crc = Crc32(data, size - 4);
        for (int i = 0; i < 4; ++i) input[size - 4 + i] = static_cast<char>(crc >> (24 - 8 * i));
        RunOne(input, failAllocation);
    }
    return 0;
}
