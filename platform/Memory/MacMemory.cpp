#include "Memory/MacMemory.h"

#include <cstdlib>
#include <cstring>

#include "testing/FailureInjection.h"

namespace {

// The master pointer comes first so that a Handle (the address of `data`) can be turned back into
// its block record. `magic` catches pointers that were never handles of this service.
struct Block {
    Ptr data;
    Size size;
    Size capacity;
    bool locked;
    bool temporary;
    UInt32 magic;
};

const UInt32 kBlockMagic = 0x486e646c;  // a live block made by this service

thread_local OSErr tMemError = noErr;

Block* BlockOf(Handle h) {
    if (h == nullptr) return nullptr;
    Block* b = reinterpret_cast<Block*>(h);
    return b->magic == kBlockMagic ? b : nullptr;
}

void* Allocate(Size size) {
    if (HalyxShouldFail(kHalyxFailAllocation)) return nullptr;
    // malloc(0) may return null; a block of 0 bytes still needs an address.
    return std::malloc(size > 0 ? static_cast<size_t>(size) : 1);
}

Handle MakeHandle(Size size, bool clear, bool temporary) {
    if (size < 0) {
        tMemError = memFullErr;
        return nullptr;
    }
    Block* b = static_cast<Block*>(std::malloc(sizeof(Block)));
    if (b == nullptr) {
        tMemError = memFullErr;
        return nullptr;
    }
    void* data = Allocate(size);
    if (data == nullptr) {
        std::free(b);
        tMemError = memFullErr;
        return nullptr;
    }
    if (clear && size > 0) std::memset(data, 0, static_cast<size_t>(size));
    b->data = static_cast<Ptr>(data);
    b->size = size;
    b->capacity = size;
    b->locked = false;
    b->temporary = temporary;
    b->magic = kBlockMagic;
    tMemError = noErr;
    return &b->data;
}

}  // namespace

extern "C" {

OSErr MemError(void) { return tMemError; }

Handle NewHandle(Size size) { return MakeHandle(size, false, false); }

Handle NewHandleClear(Size size) { return MakeHandle(size, true, false); }

Handle TempNewHandle(Size size, OSErr* resultCode) {
    Handle h = MakeHandle(size, false, true);
    if (resultCode != nullptr) *resultCode = tMemError;
    return h;
}

void DisposeHandle(Handle h) {
    Block* b = BlockOf(h);
    if (b == nullptr) {
        tMemError = h == nullptr ? nilHandleErr : memWZErr;
        return;
    }
    std::free(b->data);
    b->magic = 0;
    std::free(b);
    tMemError = noErr;
}

Size GetHandleSize(Handle h) {
    Block* b = BlockOf(h);
    if (b == nullptr) {
        tMemError = h == nullptr ? nilHandleErr : memWZErr;
        return 0;
    }
    tMemError = noErr;
    return b->size;
}

void SetHandleSize(Handle h, Size newSize) {
    Block* b = BlockOf(h);
    if (b == nullptr) {
        tMemError = h == nullptr ? nilHandleErr : memWZErr;
        return;
    }
    if (newSize < 0) {
        tMemError = memFullErr;
        return;
    }
    if (newSize <= b->capacity) {
        b->size = newSize;
        tMemError = noErr;
        return;
    }
    if (b->locked) {
        tMemError = memLockedErr;
        return;
    }
    // Grow geometrically so that appending in small steps stays linear.
    Size capacity = b->capacity * 2;
    if (capacity < newSize) capacity = newSize;
    void* data = HalyxShouldFail(kHalyxFailAllocation)
                     ? nullptr
                     : std::realloc(b->data, static_cast<size_t>(capacity));
    if (data == nullptr) {
        tMemError = memFullErr;
        return;
    }
    b->data = static_cast<Ptr>(data);
    b->capacity = capacity;
    b->size = newSize;
    tMemError = noErr;
}

void HLock(Handle h) {
    Block* b = BlockOf(h);
    if (b != nullptr) b->locked = true;
    tMemError = b != nullptr ? OSErr(noErr) : OSErr(nilHandleErr);
}

void HUnlock(Handle h) {
    Block* b = BlockOf(h);
    if (b != nullptr) b->locked = false;
    tMemError = b != nullptr ? OSErr(noErr) : OSErr(nilHandleErr);
}

Boolean HIsLocked(Handle h) {
    Block* b = BlockOf(h);
    return b != nullptr && b->locked;
}

Boolean HIsTemporary(Handle h) {
    Block* b = BlockOf(h);
    return b != nullptr && b->temporary;
}

OSErr PtrToHand(const void* src, Handle* h, long size) {
    if (h == nullptr || (src == nullptr && size > 0)) return tMemError = paramErr;
    *h = NewHandle(size);
    if (*h == nullptr) return tMemError;
    if (size > 0) std::memcpy(**h, src, static_cast<size_t>(size));
    return noErr;
}

OSErr HandToHand(Handle* h) {
    if (h == nullptr || BlockOf(*h) == nullptr) return tMemError = nilHandleErr;
    Handle src = *h;
    Handle copy = NewHandle(GetHandleSize(src));
    if (copy == nullptr) return tMemError;
    if (GetHandleSize(src) > 0)
        std::memcpy(*copy, *src, static_cast<size_t>(GetHandleSize(src)));
    *h = copy;
    return tMemError = noErr;
}

Ptr NewPtr(Size size) {
    if (size < 0) {
        tMemError = memFullErr;
        return nullptr;
    }
    Ptr p = static_cast<Ptr>(Allocate(size));
    tMemError = p != nullptr ? OSErr(noErr) : OSErr(memFullErr);
    return p;
}

Ptr NewPtrClear(Size size) {
    Ptr p = NewPtr(size);
    if (p != nullptr && size > 0) std::memset(p, 0, static_cast<size_t>(size));
    return p;
}

void DisposePtr(Ptr p) {
    std::free(p);
    tMemError = noErr;
}

void BlockMoveData(const void* src, void* dest, Size size) {
    if (size > 0 && src != nullptr && dest != nullptr)
        std::memmove(dest, src, static_cast<size_t>(size));
}

}  // extern "C"
