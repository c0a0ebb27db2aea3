// A position in a PtrLinkList. Stepping past either end leaves it null, and a null position stays
// null whichever way it is stepped.
#ifndef HALYX_CORE_LINKELEMENTDUALITERATOR_H
#define HALYX_CORE_LINKELEMENTDUALITERATOR_H

#include "Core/LinkElement_Dual.h"

class PtrLinkList;

class LinkElementDualIterator {
public:
    explicit LinkElementDualIterator(LinkElement_Dual* element = nullptr) : mCurrent(element) {}
    // Starts at the list's head.
    explicit LinkElementDualIterator(const PtrLinkList& list);

    LinkElement_Dual* Current() const { return mCurrent; }
    void Reset(LinkElement_Dual* element) { mCurrent = element; }

    LinkElementDualIterator& operator++() {
        if (mCurrent != nullptr) mCurrent = mCurrent->next;
        return *this;
    }
    LinkElementDualIterator operator++(int) {
        LinkElementDualIterator before(*this);
        ++*this;
        return before;
    }
    LinkElementDualIterator& operator--() {
        if (mCurrent != nullptr) mCurrent = mCurrent->prev;
        return *this;
    }
    LinkElementDualIterator operator--(int) {
        LinkElementDualIterator before(*this);
        --*this;
        return before;
    }
    bool operator==(const LinkElementDualIterator& other) const {
        return mCurrent == other.mCurrent;
    }
    bool operator!=(const LinkElementDualIterator& other) const {
        return mCurrent != other.mCurrent;
    }

private:
    LinkElement_Dual* mCurrent;
};

#endif  // HALYX_CORE_LINKELEMENTDUALITERATOR_H
