#include "Core/ui/DataColumnDescription.h"

#include <string.h>

void DataColumnDescription::SetColumnDefaults() {
    memset(&description, 0, sizeof description);
    description.headerBtnDesc.version = kDataBrowserListViewLatestHeaderDesc;
    description.headerBtnDesc.initialOrder = kDataBrowserOrderIncreasing;
    description.headerBtnDesc.btnFontStyle.flags = kControlUseThemeFontIDMask;
    description.headerBtnDesc.btnFontStyle.font = kControlFontViewSystemFont;
    description.headerBtnDesc.btnContentInfo.contentType = kControlContentTextOnly;
}

void DataColumnDescription::SetPropertyType(DataBrowserPropertyType type) {
    description.propertyDesc.propertyType = type;
}

void DataColumnDescription::SetPropertyID(DataBrowserPropertyID id) {
    description.propertyDesc.propertyID = id;
}

void DataColumnDescription::SetPropertyFlags(DataBrowserPropertyFlags flags) {
    description.propertyDesc.propertyFlags = flags;
}

void DataColumnDescription::SetWidths(UInt16 minimum, UInt16 maximum) {
    description.headerBtnDesc.minimumWidth = minimum;
    description.headerBtnDesc.maximumWidth = maximum;
}
