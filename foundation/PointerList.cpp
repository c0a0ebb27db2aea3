#include "foundation/PointerList.h"

#include <cstddef>
#include <new>

#include "Memory/MacMemory.h"
#include "testing/FailureInjection.h"

namespace {

// Freed nodes are kept, up to a bound, for the next insertions of the same thread: building and
// dropping a model's lists then reaches the heap for few of its nodes. The bound holds the lists
// of a model of some ten thousand controls (a few megabytes), so that a large model read again
// costs no more per node than a small one. A cached node is plain memory, so a node may be freed
// on another thread than the one that made it. What is cached goes back to the heap when the
// thread ends.
//
// The kept nodes are listed in an array of their addresses rather than linked through their own
// memory: taking one then reads nothing from the node, so that a large model, whose freed nodes
// are no longer in the processor's cache, is not built one cache miss after another.
class NodeCache {
public:
    static constexpr size_t kMaxNodes = size_t{1} << 17;

    ~NodeCache() {
        for (size_t i = 0; i < mCount; ++i) DisposePtr(static_cast<Ptr>(mNodes[i]));
        delete[] mNodes;
        mNodes = nullptr;
        mCount = 0;
        mCapacity = 0;
        mEnded = true;  // nodes freed later, as the thread ends, go back to the heap
    }
    void* Take() { return mCount > 0 ? mNodes[--mCount] : nullptr; }
    bool Keep(void* block) {
        if (mCount == mCapacity && !Grow()) return false;
        mNodes[mCount++] = block;
        return true;
    }

private:
    // Doubles the address array (from 1,024 entries) up to the bound; false at the bound, after
    // the thread ended, or when memory ran out.
    bool Grow() {
        if (mEnded || mCapacity >= kMaxNodes) return false;
        const size_t capacity = mCapacity == 0 ? 1024 : mCapacity * 2;
        void** nodes = new (std::nothrow) void*[capacity];
        if (nodes == nullptr) return false;
        for (size_t i = 0; i < mCount; ++i) nodes[i] = mNodes[i];
        delete[] mNodes;
        mNodes = nodes;
        mCapacity = capacity;
        return true;
    }

    void** mNodes = nullptr;
    size_t mCount = 0;
    size_t mCapacity = 0;
    bool mEnded = false;
};

thread_local NodeCache tNodeCache;

}  // namespace

void* PNode::operator new(std::size_t size) noexcept {
    if (size == sizeof(PNode)) {
        // A cached node is an allocation like any other to a test that makes allocations fail.
        if (void* node = tNodeCache.Take()) {
            if (!HalyxShouldFail(kHalyxFailAllocation)) return node;
            tNodeCache.Keep(node);
            return nullptr;
        }
    }
    return NewPtr(static_cast<Size>(size));
}

void PNode::operator delete(void* node, std::size_t size) noexcept {
    if (node == nullptr) return;
    if (size == sizeof(PNode) && tNodeCache.Keep(node)) return;
    DisposePtr(static_cast<Ptr>(node));
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
