// An element of an owning doubly linked list (PtrLinkList): the links to its neighbours. Entries
// derive from it and are deleted through its virtual destructor.
#ifndef HALYX_CORE_LINKELEMENT_DUAL_H
#define HALYX_CORE_LINKELEMENT_DUAL_H

class LinkElement_Dual {
public:
    LinkElement_Dual() : next(nullptr), prev(nullptr) {}
    virtual ~LinkElement_Dual() {}

    LinkElement_Dual* next;  // null at the tail
    LinkElement_Dual* prev;  // null at the head

private:
    LinkElement_Dual(const LinkElement_Dual&) = delete;
    LinkElement_Dual& operator=(const LinkElement_Dual&) = delete;
};

#endif  // HALYX_CORE_LINKELEMENT_DUAL_H
