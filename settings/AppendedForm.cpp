#include "settings/AppendedForm.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "Collections/CollectionForm.h"
#include "testing/FailureInjection.h"

using halyx_collections::kFormHeaderBytes;
using halyx_collections::kFormItemHeaderBytes;
using halyx_collections::kFormTrailerBytes;

namespace {

// Chunks start small, since most stores hold a few records, and double up to a size that keeps
// the room left unused at a chunk's end small against the records.
const size_t kFirstChunkBytes = 4 << 10;
const size_t kLargestChunkBytes = 1 << 20;
const uint32_t kFirstKeyCapacity = 64;

// Blocks from this size up are mapped on their own, so that freeing one gives its memory back at
// once: a large store is freed chunk by chunk while it is copied into its flattened form, and
// memory the heap kept would count with that form. Under the address sanitizer every block comes
// from the heap, whose bounds and leaks it checks.
#if defined(__SANITIZE_ADDRESS__)
const size_t kMappedBytes = SIZE_MAX;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const size_t kMappedBytes = SIZE_MAX;
#else
const size_t kMappedBytes = kLargestChunkBytes;
#endif
#else
const size_t kMappedBytes = kLargestChunkBytes;
#endif

void* Allocate(size_t bytes) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    if (bytes < kMappedBytes) return std::malloc(bytes);
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return block == MAP_FAILED ? nullptr : block;
}

void Free(void* block, size_t bytes) {
    if (block == nullptr) return;
    if (bytes < kMappedBytes)
        std::free(block);
    else
        munmap(block, bytes);
}

uint64_t KeyOf(FourCharCode tag, SInt32 id) {
    return (static_cast<uint64_t>(tag) << 32) | static_cast<uint32_t>(id);
}

uint32_t Get32(const UInt8* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

}  // namespace

uint64_t* AppendedForm::SlotOf(uint64_t key) const {
    const uint32_t mask = mKeyCapacity - 1;
    uint32_t at = static_cast<uint32_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
    while (mKeys[at] != 0 && mKeys[at] != key) at = (at + 1) & mask;
    return &mKeys[at];
}

bool AppendedForm::GrowKeys() {
    const uint32_t capacity = mKeyCapacity == 0 ? kFirstKeyCapacity : mKeyCapacity * 2;
    uint64_t* keys = static_cast<uint64_t*>(Allocate(capacity * sizeof(uint64_t)));
    if (keys == nullptr) return false;
    std::memset(keys, 0, capacity * sizeof(uint64_t));
    uint64_t* old = mKeys;
    const uint32_t oldCapacity = mKeyCapacity;
    mKeys = keys;
    mKeyCapacity = capacity;
    for (uint32_t i = 0; i < oldCapacity; ++i)
        if (old[i] != 0) *SlotOf(old[i]) = old[i];
    Free(old, oldCapacity * sizeof(uint64_t));
    return true;
}

bool AppendedForm::AddChunk(size_t bytes) {
    // Blocks of 4 KB doubling up to 1 MB, the chunk's record included; a record longer than
    // that gets a block of its own size.
    size_t block = mLast == nullptr ? kFirstChunkBytes : (sizeof(Chunk) + mLast->capacity) * 2;
    if (block > kLargestChunkBytes) block = kLargestChunkBytes;
    if (block - sizeof(Chunk) < bytes) block = sizeof(Chunk) + bytes;
    const size_t capacity = block - sizeof(Chunk);
    Chunk* chunk = static_cast<Chunk*>(Allocate(block));
    if (chunk == nullptr) return false;
    chunk->next = nullptr;
    chunk->used = 0;
    chunk->capacity = capacity;
    if (mLast != nullptr)
        mLast->next = chunk;
    else
        mFirst = chunk;
    mLast = chunk;
    return true;
}

OSStatus AppendedForm::AppendNew(FourCharCode tag, SInt32 id, const void* bytes, SInt32 length,
                                 bool* present) {
    if (!mKeysComplete && !RebuildKeys()) return memFullErr;
    const uint64_t key = KeyOf(tag, id);
    uint64_t* slot = nullptr;
    if (key != 0) {
        // Room for one more key first, so that one probe finds the key or its place; the set
        // stays at most three quarters full.
        if ((mKeyCount + 1) * 4ull > mKeyCapacity * 3ull && !GrowKeys()) return memFullErr;
        slot = SlotOf(key);
        *present = *slot == key;
    } else {
        *present = mZeroKey;
    }
    if (*present) return noErr;
    const size_t record = kFormItemHeaderBytes + static_cast<size_t>(length);
    if ((mLast == nullptr || mLast->capacity - mLast->used < record) && !AddChunk(record))
        return memFullErr;
    UInt8* at = mLast->Bytes() + mLast->used;
    halyx_collections::PutFormItemHeader(at, tag, id, kCollectionDefaultAttributes, length);
    if (length > 0) std::memcpy(at + kFormItemHeaderBytes, bytes, static_cast<size_t>(length));
    mLast->used += record;
    mSection += record;
    ++mCount;
    if (slot != nullptr) {
        *slot = key;
        ++mKeyCount;
    } else {
        mZeroKey = true;
    }
    return noErr;
}

OSStatus AppendedForm::FormLength(Size* length) const {
    *length = 0;
    const uint64_t total = kFormHeaderBytes + mSection + kFormTrailerBytes;
    if (total > halyx_collections::kLargestForm) return memFullErr;
    *length = static_cast<Size>(total);
    return noErr;
}

void AppendedForm::WriteForm(UInt8* form, Size length, bool release) {
    halyx_collections::PutFormHeader(form, mCount, static_cast<UInt32>(mSection));
    UInt8* at = form + kFormHeaderBytes;
    for (Chunk* chunk = mFirst; chunk != nullptr;) {
        if (chunk->used > 0) std::memcpy(at, chunk->Bytes(), chunk->used);
        at += chunk->used;
        Chunk* next = chunk->next;
        if (release) Free(chunk, sizeof(Chunk) + chunk->capacity);
        chunk = next;
    }
    if (release) {
        mFirst = mLast = nullptr;
        Clear();
    }
    halyx_collections::PutFormTrailer(form, static_cast<size_t>(length));
}

OSStatus AppendedForm::ReadBack(Collection c) const {
    for (const Chunk* chunk = mFirst; chunk != nullptr; chunk = chunk->next) {
        const UInt8* p = chunk->Bytes();
        const UInt8* end = p + chunk->used;
        while (p < end) {
            const SInt32 size = static_cast<SInt32>(Get32(p + 12));
            OSStatus status = AddCollectionItem(c, Get32(p), static_cast<SInt32>(Get32(p + 4)),
                                                size, p + kFormItemHeaderBytes);
            if (status != noErr) return status;
            p += kFormItemHeaderBytes + static_cast<size_t>(size);
        }
    }
    return noErr;
}

void AppendedForm::Clear() {
    for (Chunk* chunk = mFirst; chunk != nullptr;) {
        Chunk* next = chunk->next;
        Free(chunk, sizeof(Chunk) + chunk->capacity);
        chunk = next;
    }
    mFirst = mLast = nullptr;
    mSection = 0;
    mCount = 0;
    ReleaseKeys();
}

void AppendedForm::ReleaseKeys() {
    Free(mKeys, mKeyCapacity * sizeof(uint64_t));
    mKeys = nullptr;
    mKeyCapacity = 0;
    mKeyCount = 0;
    mZeroKey = false;
    mKeysComplete = mCount == 0;
}

bool AppendedForm::RebuildKeys() {
    for (const Chunk* chunk = mFirst; chunk != nullptr; chunk = chunk->next) {
        for (const UInt8* p = chunk->Bytes(); p < chunk->Bytes() + chunk->used;) {
            const uint64_t key = KeyOf(Get32(p), static_cast<SInt32>(Get32(p + 4)));
            if (key == 0) {
                mZeroKey = true;
            } else {
                if ((mKeyCount + 1) * 4ull > mKeyCapacity * 3ull && !GrowKeys()) {
                    ReleaseKeys();
                    return false;
                }
                *SlotOf(key) = key;
                ++mKeyCount;
            }
            p += kFormItemHeaderBytes + Get32(p + 12);
        }
    }
    mKeysComplete = true;
    return true;
}
