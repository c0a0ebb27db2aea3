// Relocatable memory blocks (handles) and plain pointers.
//
// A Handle points to a master pointer that holds the block's current address, so `*h` is the data.
// Blocks may move when they grow unless they are locked. Two pools exist, as on the original
// platform: the application heap (NewHandle) and the temporary pool (TempNewHandle); both are the C
// heap here, but each block remembers its pool so callers that track it keep working.
//
// Every call sets the value MemError() reports: noErr on success, memFullErr (-108) when memory
// could not be had, nilHandleErr (-109) for a null handle, memLockedErr (-117) when a locked block
// would have to move. Allocations can be made to fail through the kHalyxFailAllocation hook.
#ifndef HALYX_PLATFORM_MEMORY_MACMEMORY_H
#define HALYX_PLATFORM_MEMORY_MACMEMORY_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

// The status of the last memory call on this thread.
OSErr MemError(void);

// A block of `size` bytes (contents undefined) from the application heap; null with -108 on failure
// or a negative size.
Handle NewHandle(Size size);
// As NewHandle, with the bytes zeroed.
Handle NewHandleClear(Size size);
// A block from the temporary pool; `resultCode` (may be null) receives the status as well.
Handle TempNewHandle(Size size, OSErr* resultCode);

// Frees the block and its master pointer; a null handle is ignored (MemError -109).
void DisposeHandle(Handle h);

// The block's logical size; 0 with -109 for a null handle.
Size GetHandleSize(Handle h);
// Resizes the block, keeping min(old, new) bytes. A locked block that must grow beyond its
// capacity fails with -117 and keeps its size; out of memory fails with -108 and keeps the block.
void SetHandleSize(Handle h, Size newSize);

void HLock(Handle h);
void HUnlock(Handle h);
// True when the block is locked (for tests and assertions).
Boolean HIsLocked(Handle h);
// True when the block came from the temporary pool.
Boolean HIsTemporary(Handle h);

// Copies `size` bytes into a new handle at *h; returns the status.
OSErr PtrToHand(const void* src, Handle* h, long size);
// Replaces *h with a new handle holding a copy of it; returns the status.
OSErr HandToHand(Handle* h);

// Plain non-relocatable blocks.
Ptr NewPtr(Size size);
Ptr NewPtrClear(Size size);
void DisposePtr(Ptr p);

void BlockMoveData(const void* src, void* dest, Size size);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_MEMORY_MACMEMORY_H
