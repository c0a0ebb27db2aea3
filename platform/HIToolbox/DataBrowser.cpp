// The data browser's columns, rows, settings and callbacks.
#include "HIToolbox/DataBrowser.h"

#include <algorithm>
#include <new>

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/WindowObject.h"
#include "testing/FailureInjection.h"

namespace halyx_toolbox {

long BrowserState::RowOf(DataBrowserItemID item) const {
    if (rows.count(item) == 0) return -1;
    auto found = std::find(items.begin(), items.end(), item);
    return found == items.end() ? -1 : static_cast<long>(found - items.begin());
}

const BrowserColumn* BrowserState::Column(DataBrowserPropertyID property) const {
    for (const BrowserColumn& column : columns) {
        if (column.property == property) return &column;
    }
    return nullptr;
}

UInt32 BrowserState::TotalColumnWidth() const {
    UInt32 total = 0;
    for (const BrowserColumn& column : columns) total += column.width;
    return total;
}

BrowserState* BrowserOf(ControlRef control, OSStatus* status) {
    if (!IsLiveControl(control)) {
        *status = errUnknownControl;
        return nullptr;
    }
    if (control->browser == nullptr) {
        *status = errDataBrowserNotConfigured;
        return nullptr;
    }
    *status = noErr;
    return control->browser.get();
}

}  // namespace halyx_toolbox

using halyx_toolbox::BrowserOf;
using halyx_toolbox::BrowserState;

// Every entry point starts the same way: find the browser state or answer why not.
#define HALYX_BROWSER(state, control)                   \
    OSStatus status_ = noErr;                           \
    BrowserState* state = BrowserOf(control, &status_); \
    if (state == nullptr) return status_

OSStatus CreateDataBrowserControl(WindowRef window, const Rect* bounds, DataBrowserViewStyle style,
                                  ControlRef* outControl) {
    if (outControl != nullptr) *outControl = nullptr;
    if (style != kDataBrowserListView || !halyx_toolbox::IsLiveWindow(window) ||
        bounds == nullptr || outControl == nullptr) {
        return paramErr;
    }
    ControlRef control =
        halyx_toolbox::MakeControl(window, halyx_toolbox::ControlKind::kDataBrowser, *bounds);
    if (control == nullptr) return memFullErr;
    *outControl = control;
    return noErr;
}

// --- Columns -------------------------------------------------------------------------------------

OSStatus AddDataBrowserListViewColumn(ControlRef browser, DataBrowserListViewColumnDesc* columnDesc,
                                      DataBrowserTableViewColumnIndex position) {
    HALYX_BROWSER(state, browser);
    if (columnDesc == nullptr || state->Column(columnDesc->propertyDesc.propertyID) != nullptr) {
        return paramErr;
    }
    if (HalyxShouldFail(kHalyxFailAllocation)) return memFullErr;
    halyx_toolbox::BrowserColumn column;
    column.property = columnDesc->propertyDesc.propertyID;
    column.type = columnDesc->propertyDesc.propertyType;
    column.flags = columnDesc->propertyDesc.propertyFlags;
    column.minimumWidth = columnDesc->headerBtnDesc.minimumWidth;
    column.maximumWidth = std::max(columnDesc->headerBtnDesc.maximumWidth, column.minimumWidth);
    column.width = column.minimumWidth;
    const size_t at = std::min<size_t>(position, state->columns.size());
    state->columns.insert(state->columns.begin() + static_cast<long>(at), column);
    return noErr;
}

OSStatus RemoveDataBrowserTableViewColumn(ControlRef browser, DataBrowserTableViewColumnID column) {
    HALYX_BROWSER(state, browser);
    auto& columns = state->columns;
    auto found =
        std::find_if(columns.begin(), columns.end(),
                     [&](const halyx_toolbox::BrowserColumn& c) { return c.property == column; });
    if (found == columns.end()) return errDataBrowserPropertyNotFound;
    columns.erase(found);
    halyx_toolbox::ClampBrowserScroll(browser);
    return noErr;
}

OSStatus GetDataBrowserTableViewColumnCount(ControlRef browser, UInt32* numColumns) {
    HALYX_BROWSER(state, browser);
    if (numColumns == nullptr) return paramErr;
    *numColumns = static_cast<UInt32>(state->columns.size());
    return noErr;
}

OSStatus GetDataBrowserTableViewColumnProperty(ControlRef browser,
                                               DataBrowserTableViewColumnIndex index,
                                               DataBrowserTableViewColumnID* property) {
    HALYX_BROWSER(state, browser);
    if (property == nullptr) return paramErr;
    if (index >= state->columns.size()) return errDataBrowserPropertyNotFound;
    *property = state->columns[index].property;
    return noErr;
}

OSStatus SetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                 DataBrowserTableViewColumnID column,
                                                 UInt16 width) {
    HALYX_BROWSER(state, browser);
    for (auto& c : state->columns) {
        if (c.property == column) {
            c.width = width;
            return noErr;
        }
    }
    return errDataBrowserPropertyNotFound;
}

OSStatus GetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                 DataBrowserTableViewColumnID column,
                                                 UInt16* width) {
    HALYX_BROWSER(state, browser);
    const halyx_toolbox::BrowserColumn* c = state->Column(column);
    if (c == nullptr) return errDataBrowserPropertyNotFound;
    if (width == nullptr) return paramErr;
    *width = c->width;
    return noErr;
}

OSStatus AutoSizeDataBrowserListViewColumns(ControlRef browser) {
    HALYX_BROWSER(state, browser);
    // Spread the view's width over the columns, left to right, each within its limits.
    const Rect view = halyx_toolbox::BrowserView(browser);
    long remaining = view.right - view.left;
    for (auto& c : state->columns) remaining -= c.minimumWidth;
    for (auto& c : state->columns) {
        c.width = c.minimumWidth;
        if (remaining > 0) {
            const long grow = std::min<long>(remaining, c.maximumWidth - c.minimumWidth);
            c.width = static_cast<UInt16>(c.minimumWidth + grow);
            remaining -= grow;
        }
    }
    halyx_toolbox::ClampBrowserScroll(browser);
    return noErr;
}

OSStatus SetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16 height) {
    HALYX_BROWSER(state, browser);
    state->headerHeight = height;
    halyx_toolbox::ClampBrowserScroll(browser);
    return noErr;
}

OSStatus GetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16* height) {
    HALYX_BROWSER(state, browser);
    if (height == nullptr) return paramErr;
    *height = state->headerHeight;
    return noErr;
}

// --- Rows ----------------------------------------------------------------------------------------

OSStatus AddDataBrowserItems(ControlRef browser, DataBrowserItemID container, UInt32 numItems,
                             const DataBrowserItemID* items, DataBrowserPropertyID /*preSort*/) {
    HALYX_BROWSER(state, browser);
    if (container != kDataBrowserNoItem || (items == nullptr && numItems > 0)) return paramErr;
    for (UInt32 i = 0; i < numItems; ++i) {
        if (!halyx_toolbox::IsLiveControl(browser)) return errUnknownControl;
        const DataBrowserItemID item = items[i];
        if (item == kDataBrowserNoItem || state->rows.count(item) != 0)
            return errDataBrowserItemNotAdded;
        if (HalyxShouldFail(kHalyxFailAllocation)) return memFullErr;
        state->items.push_back(item);
        state->rows.insert(item);
        if (state->callbacks.u.v1.itemNotificationCallback != nullptr) {
            state->callbacks.u.v1.itemNotificationCallback(browser, item, kDataBrowserItemAdded);
        }
    }
    return noErr;
}

OSStatus RemoveDataBrowserItems(ControlRef browser, DataBrowserItemID container, UInt32 numItems,
                                const DataBrowserItemID* items, DataBrowserPropertyID /*preSort*/) {
    HALYX_BROWSER(state, browser);
    if (container != kDataBrowserNoItem) return paramErr;
    std::vector<DataBrowserItemID> doomed;
    if (numItems == 0 || items == nullptr) {
        doomed = state->items;
    } else {
        doomed.assign(items, items + numItems);
    }
    for (DataBrowserItemID item : doomed) {
        if (!halyx_toolbox::IsLiveControl(browser)) return errUnknownControl;
        const long row = state->RowOf(item);
        if (row < 0) continue;
        state->items.erase(state->items.begin() + row);
        state->rows.erase(item);
        auto& selected = state->selected;
        selected.erase(std::remove(selected.begin(), selected.end(), item), selected.end());
        if (state->callbacks.u.v1.itemNotificationCallback != nullptr) {
            state->callbacks.u.v1.itemNotificationCallback(browser, item, kDataBrowserItemRemoved);
        }
    }
    if (halyx_toolbox::IsLiveControl(browser)) halyx_toolbox::ClampBrowserScroll(browser);
    return noErr;
}

OSStatus UpdateDataBrowserItems(ControlRef browser, DataBrowserItemID /*container*/,
                                UInt32 /*numItems*/, const DataBrowserItemID* /*items*/,
                                DataBrowserPropertyID /*preSortProperty*/,
                                DataBrowserPropertyID /*propertyID*/) {
    // Every drawing of the window draws every shown row afresh, so there is nothing to mark.
    HALYX_BROWSER(state, browser);
    (void)state;
    return noErr;
}

OSStatus GetDataBrowserItemCount(ControlRef browser, DataBrowserItemID container,
                                 Boolean /*recurse*/, DataBrowserItemState stateFilter,
                                 UInt32* numItems) {
    HALYX_BROWSER(state, browser);
    if (numItems == nullptr) return paramErr;
    if (container != kDataBrowserNoItem) {
        *numItems = 0;
        return noErr;
    }
    *numItems =
        static_cast<UInt32>((stateFilter & kDataBrowserItemIsSelected) != 0 ? state->selected.size()
                                                                            : state->items.size());
    return noErr;
}

Boolean IsDataBrowserItemSelected(ControlRef browser, DataBrowserItemID item) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    return state != nullptr &&
           std::find(state->selected.begin(), state->selected.end(), item) != state->selected.end();
}

OSStatus GetDataBrowserTableViewItemID(ControlRef browser, DataBrowserTableViewRowIndex row,
                                       DataBrowserItemID* item) {
    HALYX_BROWSER(state, browser);
    if (item == nullptr) return paramErr;
    if (row >= state->items.size()) return errDataBrowserItemNotFound;
    *item = state->items[row];
    return noErr;
}

OSStatus SetDataBrowserTableViewRowHeight(ControlRef browser, UInt16 height) {
    HALYX_BROWSER(state, browser);
    if (height == 0) return paramErr;
    state->rowHeight = height;
    halyx_toolbox::ClampBrowserScroll(browser);
    return noErr;
}

OSStatus GetDataBrowserTableViewRowHeight(ControlRef browser, UInt16* height) {
    HALYX_BROWSER(state, browser);
    if (height == nullptr) return paramErr;
    *height = state->rowHeight;
    return noErr;
}

// --- Settings ------------------------------------------------------------------------------------

OSStatus SetDataBrowserHasScrollBars(ControlRef browser, Boolean horiz, Boolean vert) {
    HALYX_BROWSER(state, browser);
    state->hasHorizontalBar = horiz != 0;
    state->hasVerticalBar = vert != 0;
    halyx_toolbox::ClampBrowserScroll(browser);
    return noErr;
}

OSStatus GetDataBrowserHasScrollBars(ControlRef browser, Boolean* horiz, Boolean* vert) {
    HALYX_BROWSER(state, browser);
    if (horiz != nullptr) *horiz = state->hasHorizontalBar;
    if (vert != nullptr) *vert = state->hasVerticalBar;
    return noErr;
}

OSStatus SetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder order) {
    HALYX_BROWSER(state, browser);
    state->sortOrder = order;
    return noErr;
}

OSStatus GetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder* order) {
    HALYX_BROWSER(state, browser);
    if (order == nullptr) return paramErr;
    *order = state->sortOrder;
    return noErr;
}

OSStatus SetDataBrowserSelectionFlags(ControlRef browser, DataBrowserSelectionFlags flags) {
    HALYX_BROWSER(state, browser);
    state->selectionFlags = flags;
    return noErr;
}

OSStatus GetDataBrowserSelectionFlags(ControlRef browser, DataBrowserSelectionFlags* flags) {
    HALYX_BROWSER(state, browser);
    if (flags == nullptr) return paramErr;
    *flags = state->selectionFlags;
    return noErr;
}

OSStatus SetDataBrowserTableViewHiliteStyle(ControlRef browser,
                                            DataBrowserTableViewHiliteStyle style) {
    HALYX_BROWSER(state, browser);
    state->hiliteStyle = style;
    return noErr;
}

OSStatus SetDataBrowserListViewUsePlainBackground(ControlRef browser, Boolean usePlain) {
    HALYX_BROWSER(state, browser);
    state->plainBackground = usePlain != 0;
    return noErr;
}

OSStatus GetDataBrowserListViewUsePlainBackground(ControlRef browser, Boolean* usePlain) {
    HALYX_BROWSER(state, browser);
    if (usePlain == nullptr) return paramErr;
    *usePlain = state->plainBackground;
    return noErr;
}

// --- Callbacks -----------------------------------------------------------------------------------

DataBrowserItemDataUPP NewDataBrowserItemDataUPP(DataBrowserItemDataProcPtr proc) {
    return proc;
}
DataBrowserItemNotificationUPP NewDataBrowserItemNotificationUPP(
    DataBrowserItemNotificationProcPtr proc) {
    return proc;
}
DataBrowserDrawItemUPP NewDataBrowserDrawItemUPP(DataBrowserDrawItemProcPtr proc) {
    return proc;
}
void DisposeDataBrowserItemDataUPP(DataBrowserItemDataUPP) {}
void DisposeDataBrowserItemNotificationUPP(DataBrowserItemNotificationUPP) {}
void DisposeDataBrowserDrawItemUPP(DataBrowserDrawItemUPP) {}

OSStatus InitDataBrowserCallbacks(DataBrowserCallbacks* callbacks) {
    if (callbacks == nullptr) return paramErr;
    *callbacks = DataBrowserCallbacks{};
    return noErr;
}

OSStatus InitDataBrowserCustomCallbacks(DataBrowserCustomCallbacks* callbacks) {
    if (callbacks == nullptr) return paramErr;
    *callbacks = DataBrowserCustomCallbacks{};
    return noErr;
}

OSStatus SetDataBrowserCallbacks(ControlRef browser, const DataBrowserCallbacks* callbacks) {
    HALYX_BROWSER(state, browser);
    if (callbacks == nullptr) return paramErr;
    state->callbacks = *callbacks;
    return noErr;
}

OSStatus GetDataBrowserCallbacks(ControlRef browser, DataBrowserCallbacks* callbacks) {
    HALYX_BROWSER(state, browser);
    if (callbacks == nullptr) return paramErr;
    *callbacks = state->callbacks;
    return noErr;
}

OSStatus SetDataBrowserCustomCallbacks(ControlRef browser,
                                       const DataBrowserCustomCallbacks* callbacks) {
    HALYX_BROWSER(state, browser);
    if (callbacks == nullptr) return paramErr;
    state->customCallbacks = *callbacks;
    return noErr;
}
