// An owning doubly linked list of LinkElement_Dual: elements are appended at the tail and deleted,
// head first, with the list.
#ifndef HALYX_CORE_PTRLINKLIST_H
#define HALYX_CORE_PTRLINKLIST_H

#include "Base/MacTypes.h"
#include "Core/LinkElementDualIterator.h"
#include "Core/LinkElement_Dual.h"

class PtrLinkList {
public:
    // Empty; with a non-null element, that element is appended and valid tells whether it was.
    explicit PtrLinkList(LinkElement_Dual* first = nullptr);
    virtual ~PtrLinkList();

    // Appends at the tail; false for null.
    bool add(LinkElement_Dual* element);
    // The n-th element from the head (0 is the head); null when n >= count.
    LinkElement_Dual* index(UInt16 n) const;
    void dumpEntireList(char*) {}

    LinkElement_Dual* Head() const { return head; }
    LinkElement_Dual* Tail() const { return tail; }
    UInt32 Count() const { return count; }
    bool Valid() const { return valid; }

protected:
    LinkElementDualIterator* cursor;  // the list's own walking position; null until first used
    LinkElement_Dual* head;
    LinkElement_Dual* tail;
    UInt32 count;
    bool valid;

private:
    PtrLinkList(const PtrLinkList&) = delete;
    PtrLinkList& operator=(const PtrLinkList&) = delete;
};

#endif  // HALYX_CORE_PTRLINKLIST_H
