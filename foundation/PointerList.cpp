#include "foundation/PointerList.h"

#include "Memory/MacMemory.h"

void* PNode::operator new(std::size_t size) noexcept {
    return NewPtr(static_cast<Size>(size));
}

void PNode::operator delete(void* node) noexcept {
    if (node != nullptr) DisposePtr(static_cast<Ptr>(node));
}

PointerList::PointerList() : mCount(0) {
    mHead.mNext = &mTail;
    mTail.mPrev = &mHead;
}

PointerList::PointerList(const PointerList& other) : mCount(0) {
    mHead.mNext = &mTail;
    mTail.mPrev = &mHead;
    CopyFrom(other);
}

PointerList::~PointerList() {
    MakeEmpty();
}

PointerList& PointerList::operator=(const PointerList& other) {
    if (&other == this) return *this;
    MakeEmpty();
    CopyFrom(other);
    return *this;
}

void PointerList::CopyFrom(const PointerList& other) {
    for (ConstPointerListItr it = other.Begin(); it != other.End(); ++it) PushBack(*it);
}

void* PointerList::Front() const {
    return mCount == 0 ? nullptr : const_cast<void*>(mHead.mNext->mData);
}

void* PointerList::Back() const {
    return mCount == 0 ? nullptr : const_cast<void*>(mTail.mPrev->mData);
}

PointerListItr PointerList::InsertBefore(PointerListItr position, const void* data) {
    PNode* next = position.Node();
    if (next == nullptr || next == &mHead) return PointerListItr();
    PNode* node = new PNode(data);
    if (node == nullptr) return PointerListItr();
    node->mNext = next;
    node->mPrev = next->mPrev;
    next->mPrev->mNext = node;
    next->mPrev = node;
    ++mCount;
    return PointerListItr(node);
}

PointerListItr PointerList::Erase(PointerListItr position) {
    PNode* node = position.Node();
    if (node == nullptr || node == &mHead || node == &mTail) return Begin();
    PNode* next = node->mNext;
    node->mPrev->mNext = next;
    next->mPrev = node->mPrev;
    delete node;
    --mCount;
    return PointerListItr(next);
}

PointerListItr PointerList::Erase(PointerListItr first, PointerListItr last) {
    while (first != last && first.Node() != nullptr && first.Node() != &mTail) first = Erase(first);
    return last;
}

void PointerList::PopFront() {
    if (mCount > 0) Erase(Begin());
}

void PointerList::PopBack() {
    if (mCount > 0) Erase(PointerListItr(mTail.mPrev));
}

void PointerList::MakeEmpty() {
    while (mCount > 0) PopFront();
}
