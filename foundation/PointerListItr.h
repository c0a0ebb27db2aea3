// A position in a PointerList through which the element may be used as a non-const pointer.
#ifndef HALYX_FOUNDATION_POINTERLISTITR_H
#define HALYX_FOUNDATION_POINTERLISTITR_H

#include "foundation/PNode.h"

class PointerListItr {
public:
    explicit PointerListItr(PNode* node = nullptr) : mNode(node) {}

    // The element, or null at a sentinel or for a null position.
    void* operator*() const { return mNode != nullptr ? const_cast<void*>(mNode->mData) : nullptr; }

    // Moving from a null position stays there.
    PointerListItr& operator++() {
        if (mNode != nullptr) mNode = mNode->mNext;
        return *this;
    }
    PointerListItr operator++(int) {
        PointerListItr before = *this;
        ++*this;
        return before;
    }
    PointerListItr& operator--() {
        if (mNode != nullptr) mNode = mNode->mPrev;
        return *this;
    }
    PointerListItr operator--(int) {
        PointerListItr before = *this;
        --*this;
        return before;
    }

    bool operator==(const PointerListItr& other) const { return mNode == other.mNode; }
    bool operator!=(const PointerListItr& other) const { return mNode != other.mNode; }

    PNode* Node() const { return mNode; }

private:
    PNode* mNode;
};

#endif  // HALYX_FOUNDATION_POINTERLISTITR_H
