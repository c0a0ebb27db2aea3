// The editor's text fields in row order; the list owns them.
#ifndef HALYX_CORE_UI_UI_EDITCONTROLLIST_H
#define HALYX_CORE_UI_UI_EDITCONTROLLIST_H

#include "Core/PtrLinkList.h"
#include "Core/ui/UI_EditControl.h"

class UI_EditControlList : public PtrLinkList {
public:
    UI_EditControlList() {}

    UI_EditControl* First() const { return static_cast<UI_EditControl*>(head); }
    UI_EditControl* Last() const { return static_cast<UI_EditControl*>(tail); }
    // The 1-based row of `field`; 0 when it is not in the list.
    UInt32 RowOf(const UI_EditControl* field) const;
    bool Contains(const UI_EditControl* field) const { return RowOf(field) != 0; }
};

#endif  // HALYX_CORE_UI_UI_EDITCONTROLLIST_H
