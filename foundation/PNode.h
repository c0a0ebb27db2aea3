// One link of a PointerList: an element pointer the node never frees, and its neighbours.
#ifndef HALYX_FOUNDATION_PNODE_H
#define HALYX_FOUNDATION_PNODE_H

#include <cstddef>

class PNode {
public:
    explicit PNode(const void* data = nullptr) : mData(data), mPrev(nullptr), mNext(nullptr) {}
    virtual ~PNode() {}

    // Nodes come from the platform's allocator, so that a test can make an insertion run out of
    // memory; a failed allocation yields a null node instead of throwing. Freed nodes are kept
    // per thread for reuse.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* node, std::size_t size) noexcept;

    const void* mData;
    PNode* mPrev;
    PNode* mNext;

private:
    PNode(const PNode&) = delete;
    PNode& operator=(const PNode&) = delete;
};

#endif  // HALYX_FOUNDATION_PNODE_H
