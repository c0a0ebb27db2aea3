#include "Core/ui/UI_EditControlList.h"

UInt32 UI_EditControlList::RowOf(const UI_EditControl* field) const {
    UInt32 row = 1;
    for (LinkElement_Dual* at = head; at != nullptr; at = at->next, ++row) {
        if (at == field) return row;
    }
    return 0;
}
