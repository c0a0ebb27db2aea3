// A read-only position in a PointerList.
#ifndef HALYX_FOUNDATION_CONSTPOINTERLISTITR_H
#define HALYX_FOUNDATION_CONSTPOINTERLISTITR_H

#include "foundation/PNode.h"

class ConstPointerListItr {
public:
    explicit ConstPointerListItr(const PNode* node = nullptr) : mNode(node) {}

    // The element, or null at a sentinel or for a null position.
    const void* operator*() const { return mNode != nullptr ? mNode->mData : nullptr; }

    // Moving from a null position stays there.
    ConstPointerListItr& operator++() {
        if (mNode != nullptr) mNode = mNode->mNext;
        return *this;
    }
    ConstPointerListItr operator++(int) {
        ConstPointerListItr before = *this;
        ++*this;
        return before;
    }
    ConstPointerListItr& operator--() {
        if (mNode != nullptr) mNode = mNode->mPrev;
        return *this;
    }
    ConstPointerListItr operator--(int) {
        ConstPointerListItr before = *this;
        --*this;
        return before;
    }

    bool operator==(const ConstPointerListItr& other) const { return mNode == other.mNode; }
    bool operator!=(const ConstPointerListItr& other) const { return mNode != other.mNode; }

    const PNode* Node() const { return mNode; }

private:
    const PNode* mNode;
};

#endif  // HALYX_FOUNDATION_CONSTPOINTERLISTITR_H
