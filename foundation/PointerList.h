// A doubly linked list of untyped pointers that never owns its elements.
//
// Two sentinel nodes bound the list: head.next is the first element (or the tail), tail.prev the
// last (or the head). Erasing, emptying or destroying the list frees only its nodes; whoever owns
// the elements deletes them before emptying the list.
#ifndef HALYX_FOUNDATION_POINTERLIST_H
#define HALYX_FOUNDATION_POINTERLIST_H

#include "Base/MacTypes.h"
#include "foundation/ConstPointerListItr.h"
#include "foundation/PNode.h"
#include "foundation/PointerListItr.h"

class PointerList {
public:
    PointerList();
    // Copies the element pointers, in order (the elements are shared, not copied).
    PointerList(const PointerList& other);
    ~PointerList();
    // Empties this list, then copies the other's element pointers; assigning to itself does
    // nothing.
    PointerList& operator=(const PointerList& other);

    PointerListItr Begin() { return PointerListItr(mHead.mNext); }
    PointerListItr End() { return PointerListItr(&mTail); }
    ConstPointerListItr Begin() const { return ConstPointerListItr(mHead.mNext); }
    ConstPointerListItr End() const { return ConstPointerListItr(&mTail); }

    UInt32 Size() const { return mCount; }
    bool Empty() const { return mCount == 0; }

    // The first / last element, or null when the list is empty.
    void* Front() const;
    void* Back() const;

    // Links a new node before `position` and returns a position at it; when memory runs out or
    // `position` is null or the head sentinel, nothing is added and the result is a null position.
    PointerListItr InsertBefore(PointerListItr position, const void* data);
    PointerListItr PushBack(const void* data) { return InsertBefore(End(), data); }
    PointerListItr PushFront(const void* data) { return InsertBefore(Begin(), data); }

    // Unlinks and frees the node at `position` and returns the position after it. A null position
    // (or a sentinel) erases nothing and yields Begin().
    PointerListItr Erase(PointerListItr position);
    // Erases from `first` up to, not including, `last`; returns `last`.
    PointerListItr Erase(PointerListItr first, PointerListItr last);

    void PopFront();
    void PopBack();
    void MakeEmpty();

private:
    void CopyFrom(const PointerList& other);

    UInt32 mCount;
    PNode mHead;
    PNode mTail;
};

#endif  // HALYX_FOUNDATION_POINTERLIST_H
