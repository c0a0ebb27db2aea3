// The description from which a list-view column is added: its property, type and flags and the
// header record the data browser takes.
#ifndef HALYX_CORE_UI_DATACOLUMNDESCRIPTION_H
#define HALYX_CORE_UI_DATACOLUMNDESCRIPTION_H

#include "HIToolbox/DataBrowser.h"

class DataColumnDescription {
public:
    DataColumnDescription() { SetColumnDefaults(); }
    virtual ~DataColumnDescription() {}

    // Version 0, increasing order, the view font through the theme font id, text-only content;
    // every other field cleared.
    virtual void SetColumnDefaults();
    virtual void SetPropertyType(DataBrowserPropertyType type);
    virtual void SetPropertyID(DataBrowserPropertyID id);
    virtual void SetPropertyFlags(DataBrowserPropertyFlags flags);

    void SetWidths(UInt16 minimum, UInt16 maximum);
    // The record AddDataBrowserListViewColumn takes.
    DataBrowserListViewColumnDesc* Description() { return &description; }

private:
    DataBrowserListViewColumnDesc description;
};

#endif  // HALYX_CORE_UI_DATACOLUMNDESCRIPTION_H
