#include "Core/PtrLinkList.h"

LinkElementDualIterator::LinkElementDualIterator(const PtrLinkList& list) : mCurrent(list.Head()) {}

PtrLinkList::PtrLinkList(LinkElement_Dual* first)
    : cursor(nullptr), head(nullptr), tail(nullptr), count(0), valid(true) {
    if (first != nullptr) valid = add(first);
}

PtrLinkList::~PtrLinkList() {
    LinkElement_Dual* element = head;
    while (element != nullptr) {
        LinkElement_Dual* following = element->next;
        delete element;
        element = following;
    }
    delete cursor;
}

bool PtrLinkList::add(LinkElement_Dual* element) {
    if (element == nullptr) return false;
    element->next = nullptr;
    element->prev = tail;
    if (tail != nullptr) {
        tail->next = element;
    } else {
        head = element;
    }
    tail = element;
    ++count;
    return true;
}

LinkElement_Dual* PtrLinkList::index(UInt16 n) const {
    if (n >= count) return nullptr;
    LinkElement_Dual* element = head;
    for (UInt16 i = 0; i < n && element != nullptr; ++i) element = element->next;
    return element;
}
