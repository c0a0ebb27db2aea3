#include "foundation/PointerList.h"

#include "Memory/MacMemory.h"
#include "testing/FailureInjection.h"

namespace {

// Freed nodes are kept, up to a bound, for the next insertions of the same thread: building and
// dropping a model's lists then reaches the heap for few of its nodes. The bound holds the lists
// of a model of some ten thousand controls (a few megabytes), so that a large model read again
// costs no more per node than a small one. A cached node is plain
// memory, so a node may be freed on another thread than the one that made it. What is cached
// goes back to the heap when the thread ends.
class NodeCache {
public:
    static constexpr int kMaxNodes = 1 << 17;

    ~NodeCache() {
        while (mFirst != nullptr) {
            FreeNode* next = mFirst->next;
            DisposePtr(reinterpret_cast<Ptr>(mFirst));
            mFirst = next;
        }
        mCount = kMaxNodes;  // nodes freed later, as the thread ends, go back to the heap
    }
    void* Take() {
        FreeNode* node = mFirst;
        if (node != nullptr) {
            mFirst = node->next;
            --mCount;
        }
        return node;
    }
    bool Keep(void* block) {
        if (mCount >= kMaxNodes) return false;
        FreeNode* node = static_cast<FreeNode*>(block);
        node->next = mFirst;
        mFirst = node;
        ++mCount;
        return true;
    }

private:
    struct FreeNode {
        FreeNode* next;
    };
    FreeNode* mFirst = nullptr;
    int mCount = 0;
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
