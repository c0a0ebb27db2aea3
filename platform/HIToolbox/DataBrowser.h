// The data browser in list view: a scrolling list of rows (items) and columns (properties).
//
// Geometry, in window coordinates: the header (height set by SetDataBrowserListViewHeaderBtnHeight,
// 17 by default) runs along the top of the control's bounds; rows of equal height (18 by default)
// follow in the order they were added, moved up by the vertical scroll position. A vertical scroll
// bar, when present, takes the rightmost 15 pixels; a horizontal one the bottom 15. The rest is the
// view. Columns sit side by side from the left edge in the order they were added, each as wide as
// its width (first its minimum width; AutoSizeDataBrowserListViewColumns spreads the view's width
// over them within their minimum and maximum).
//
// Drawing the browser (when its window is drawn, or by Draw1Control) walks every row that shows in
// the view, in row order, and in each row every column in order: a column of the custom type
// ('????') calls the custom draw callback with the cell's rectangle; any other type asks the
// item-data callback for the cell's value (setValue false) and records the text it set. Drawing is
// clipped to the view. Callbacks may add or remove rows, scroll or draw again while this runs.
//
// The sort order is recorded; rows always keep the order they were added in.
#ifndef HALYX_PLATFORM_HITOOLBOX_DATABROWSER_H
#define HALYX_PLATFORM_HITOOLBOX_DATABROWSER_H

#include "CoreFoundation/CFString.h"
#include "HIToolbox/ControlDefinitions.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef OSType DataBrowserViewStyle;
typedef uintptr_t DataBrowserItemID;
typedef UInt32 DataBrowserPropertyID;
typedef OSType DataBrowserPropertyType;
typedef UInt32 DataBrowserPropertyFlags;
typedef OSType DataBrowserPropertyPart;
typedef UInt32 DataBrowserItemState;
typedef UInt32 DataBrowserItemNotification;
typedef UInt16 DataBrowserSortOrder;
typedef UInt32 DataBrowserSelectionFlags;
typedef UInt32 DataBrowserRevealOptions;
typedef UInt32 DataBrowserTableViewColumnIndex;
typedef DataBrowserPropertyID DataBrowserTableViewColumnID;
typedef UInt32 DataBrowserTableViewHiliteStyle;
typedef UInt32 DataBrowserItemDataRefCon;
typedef struct OpaqueDataBrowserItemDataRef* DataBrowserItemDataRef;

enum {
    kDataBrowserListView = HALYX_FOUR_CHAR('l', 's', 't', 'v'),
    kDataBrowserColumnView = HALYX_FOUR_CHAR('c', 'l', 'm', 'v'),
};
enum { kDataBrowserNoItem = 0 };
// Properties every item has, asked of the item-data callback.
enum {
    kDataBrowserItemNoProperty = 0,
    kDataBrowserItemIsActiveProperty = 1,
    kDataBrowserItemIsSelectableProperty = 2,
    kDataBrowserItemIsEditableProperty = 3,
};
enum {
    kDataBrowserCustomType = HALYX_FOUR_CHAR('?', '?', '?', '?'),
    kDataBrowserTextType = HALYX_FOUR_CHAR('t', 'e', 'x', 't'),
    kDataBrowserCheckboxType = HALYX_FOUR_CHAR('c', 'h', 'b', 'x'),
};
enum { kDataBrowserDefaultPropertyFlags = 0, kDataBrowserPropertyIsEditable = 1 << 2 };
enum { kDataBrowserPropertyEnclosingPart = 0 };
enum { kDataBrowserItemNoState = 0, kDataBrowserItemIsSelected = 1 << 0 };
enum {
    kDataBrowserItemAdded = 1,
    kDataBrowserItemRemoved = 2,
    kDataBrowserEditStarted = 3,
    kDataBrowserEditStopped = 4,
    kDataBrowserItemSelected = 5,
    kDataBrowserItemDeselected = 6,
    kDataBrowserSelectionSetChanged = 15,
};
enum {
    kDataBrowserOrderUndefined = 0,
    kDataBrowserOrderIncreasing = 1,
    kDataBrowserOrderDecreasing = 2
};
enum {
    kDataBrowserSelectOnlyOne = 1 << 0,
    kDataBrowserResetSelection = 1 << 1,
    kDataBrowserNoDisjointSelection = 1 << 2,
    kDataBrowserAlwaysExtendSelection = 1 << 3,
    kDataBrowserNeverEmptySelectionSet = 1 << 4,
};
enum {
    kDataBrowserRevealOnly = 0,
    kDataBrowserRevealAndCenterInView = 1 << 0,
    kDataBrowserRevealWithoutSelecting = 1 << 1,
};
enum { kDataBrowserTableViewMinimalHilite = 0, kDataBrowserTableViewFillHilite = 1 };
#define kDataBrowserListViewAppendColumn ((DataBrowserTableViewColumnIndex)0xFFFFFFFFu)
enum { kDataBrowserListViewLatestHeaderDesc = 0 };
enum { kControlContentTextOnly = 0 };

typedef struct ControlButtonContentInfo {
    SInt16 contentType;
    union {
        SInt16 resID;
        void* handle;
    } u;
} ControlButtonContentInfo;

typedef struct DataBrowserPropertyDesc {
    DataBrowserPropertyID propertyID;
    DataBrowserPropertyType propertyType;
    DataBrowserPropertyFlags propertyFlags;
} DataBrowserPropertyDesc;

typedef struct DataBrowserListViewHeaderDesc {
    UInt32 version;
    UInt16 minimumWidth;
    UInt16 maximumWidth;
    SInt16 titleOffset;
    CFStringRef titleString;
    DataBrowserSortOrder initialOrder;
    ControlFontStyleRec btnFontStyle;
    ControlButtonContentInfo btnContentInfo;
} DataBrowserListViewHeaderDesc;

typedef struct DataBrowserListViewColumnDesc {
    DataBrowserPropertyDesc propertyDesc;
    DataBrowserListViewHeaderDesc headerBtnDesc;
} DataBrowserListViewColumnDesc;

// --- Callbacks -----------------------------------------------------------------------------------
typedef OSStatus (*DataBrowserItemDataProcPtr)(ControlRef browser, DataBrowserItemID item,
                                               DataBrowserPropertyID property,
                                               DataBrowserItemDataRef itemData, Boolean setValue);
typedef void (*DataBrowserItemNotificationProcPtr)(ControlRef browser, DataBrowserItemID item,
                                                   DataBrowserItemNotification message);
typedef void (*DataBrowserDrawItemProcPtr)(ControlRef browser, DataBrowserItemID item,
                                           DataBrowserPropertyID property,
                                           DataBrowserItemState itemState, const Rect* theRect,
                                           SInt16 gdDepth, Boolean colorDevice);
typedef DataBrowserItemDataProcPtr DataBrowserItemDataUPP;
typedef DataBrowserItemNotificationProcPtr DataBrowserItemNotificationUPP;
typedef DataBrowserDrawItemProcPtr DataBrowserDrawItemUPP;

DataBrowserItemDataUPP NewDataBrowserItemDataUPP(DataBrowserItemDataProcPtr proc);
DataBrowserItemNotificationUPP NewDataBrowserItemNotificationUPP(
    DataBrowserItemNotificationProcPtr proc);
DataBrowserDrawItemUPP NewDataBrowserDrawItemUPP(DataBrowserDrawItemProcPtr proc);
void DisposeDataBrowserItemDataUPP(DataBrowserItemDataUPP upp);
void DisposeDataBrowserItemNotificationUPP(DataBrowserItemNotificationUPP upp);
void DisposeDataBrowserDrawItemUPP(DataBrowserDrawItemUPP upp);

// The callbacks the browser calls; a null entry is not called. Only these three are used here,
// the other slots are kept for the record's shape.
typedef struct DataBrowserCallbacks {
    UInt32 version;
    union {
        struct {
            DataBrowserItemDataUPP itemDataCallback;
            void* itemCompareCallback;
            DataBrowserItemNotificationUPP itemNotificationCallback;
            void* addDragItemCallback;
            void* acceptDragCallback;
            void* receiveDragCallback;
            void* postProcessDragCallback;
            void* itemHelpContentCallback;
            void* getContextualMenuCallback;
            void* selectContextualMenuCallback;
        } v1;
    } u;
} DataBrowserCallbacks;

typedef struct DataBrowserCustomCallbacks {
    UInt32 version;
    union {
        struct {
            DataBrowserDrawItemUPP drawItemCallback;
            void* editTextCallback;
            void* hitTestCallback;
            void* trackingCallback;
            void* dragRegionCallback;
            void* acceptDragCallback;
            void* receiveDragCallback;
        } v1;
    } u;
} DataBrowserCustomCallbacks;

// Both set version 0 and clear every callback. paramErr for a null record.
OSStatus InitDataBrowserCallbacks(DataBrowserCallbacks* callbacks);
OSStatus InitDataBrowserCustomCallbacks(DataBrowserCustomCallbacks* callbacks);
OSStatus SetDataBrowserCallbacks(ControlRef browser, const DataBrowserCallbacks* callbacks);
OSStatus GetDataBrowserCallbacks(ControlRef browser, DataBrowserCallbacks* callbacks);
OSStatus SetDataBrowserCustomCallbacks(ControlRef browser,
                                       const DataBrowserCustomCallbacks* callbacks);

// The value record handed to the item-data callback.
OSStatus SetDataBrowserItemDataText(DataBrowserItemDataRef itemData, CFStringRef text);
OSStatus SetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData, Boolean value);
OSStatus GetDataBrowserItemDataProperty(DataBrowserItemDataRef itemData,
                                        DataBrowserPropertyID* property);

// --- The control ---------------------------------------------------------------------------------
// Every function below answers errDataBrowserNotConfigured for a control that is not a data
// browser (errUnknownControl for one that does not exist).

// Only the list view is made; paramErr for another style.
OSStatus CreateDataBrowserControl(WindowRef window, const Rect* bounds, DataBrowserViewStyle style,
                                  ControlRef* outControl);

// Adds a column at `position` (kDataBrowserListViewAppendColumn, or any index past the end,
// appends). paramErr for a null description or a property id that already has a column.
OSStatus AddDataBrowserListViewColumn(ControlRef browser, DataBrowserListViewColumnDesc* columnDesc,
                                      DataBrowserTableViewColumnIndex position);
OSStatus RemoveDataBrowserTableViewColumn(ControlRef browser, DataBrowserTableViewColumnID column);
OSStatus GetDataBrowserTableViewColumnCount(ControlRef browser, UInt32* numColumns);
// The property id of the column at `index` (0 = leftmost). errDataBrowserPropertyNotFound past the
// last column; paramErr for a null out pointer.
OSStatus GetDataBrowserTableViewColumnProperty(ControlRef browser,
                                               DataBrowserTableViewColumnIndex index,
                                               DataBrowserTableViewColumnID* property);
OSStatus SetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                 DataBrowserTableViewColumnID column, UInt16 width);
OSStatus GetDataBrowserTableViewNamedColumnWidth(ControlRef browser,
                                                 DataBrowserTableViewColumnID column,
                                                 UInt16* width);
OSStatus AutoSizeDataBrowserListViewColumns(ControlRef browser);
OSStatus SetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16 height);
OSStatus GetDataBrowserListViewHeaderBtnHeight(ControlRef browser, UInt16* height);

// Adds rows at the end, in order, telling the notification callback kDataBrowserItemAdded for each.
// Only the top level (container kDataBrowserNoItem) holds rows. errDataBrowserItemNotAdded for an
// id of 0 or one already present (the rows before it stay added); memFullErr.
OSStatus AddDataBrowserItems(ControlRef browser, DataBrowserItemID container, UInt32 numItems,
                             const DataBrowserItemID* items, DataBrowserPropertyID preSortProperty);
// Removes the listed rows (all rows when `numItems` is 0 or `items` NULL), telling the notification
// callback kDataBrowserItemRemoved for each. Ids that are not rows are skipped.
OSStatus RemoveDataBrowserItems(ControlRef browser, DataBrowserItemID container, UInt32 numItems,
                                const DataBrowserItemID* items,
                                DataBrowserPropertyID preSortProperty);
// Marks rows for drawing again; they are drawn with the window's next drawing.
OSStatus UpdateDataBrowserItems(ControlRef browser, DataBrowserItemID container, UInt32 numItems,
                                const DataBrowserItemID* items,
                                DataBrowserPropertyID preSortProperty,
                                DataBrowserPropertyID propertyID);
OSStatus GetDataBrowserItemCount(ControlRef browser, DataBrowserItemID container, Boolean recurse,
                                 DataBrowserItemState state, UInt32* numItems);
Boolean IsDataBrowserItemSelected(ControlRef browser, DataBrowserItemID item);
typedef UInt32 DataBrowserTableViewRowIndex;
// The item shown in row `row` (0 = first, in the order rows were added).
// errDataBrowserItemNotFound past the last row; paramErr for a null out pointer.
OSStatus GetDataBrowserTableViewItemID(ControlRef browser, DataBrowserTableViewRowIndex row,
                                       DataBrowserItemID* item);

OSStatus SetDataBrowserTableViewRowHeight(ControlRef browser, UInt16 height);
OSStatus GetDataBrowserTableViewRowHeight(ControlRef browser, UInt16* height);

// The scroll position in pixels; SetDataBrowserScrollPosition keeps it within the list.
OSStatus SetDataBrowserScrollPosition(ControlRef browser, UInt32 top, UInt32 left);
OSStatus GetDataBrowserScrollPosition(ControlRef browser, UInt32* top, UInt32* left);
// Scrolls the least that shows the row whole (or centres it with
// kDataBrowserRevealAndCenterInView), and selects it unless kDataBrowserRevealWithoutSelecting is
// given. errDataBrowserItemNotFound.
OSStatus RevealDataBrowserItem(ControlRef browser, DataBrowserItemID item,
                               DataBrowserPropertyID property, DataBrowserRevealOptions options);
// The rectangle of the item's cell in `property`'s column, in window coordinates, as it lies at
// the current scroll position (it may lie outside the view). Every part answers the whole cell.
OSStatus GetDataBrowserItemPartBounds(ControlRef browser, DataBrowserItemID item,
                                      DataBrowserPropertyID property, DataBrowserPropertyPart part,
                                      Rect* bounds);

OSStatus SetDataBrowserHasScrollBars(ControlRef browser, Boolean horiz, Boolean vert);
OSStatus GetDataBrowserHasScrollBars(ControlRef browser, Boolean* horiz, Boolean* vert);
OSStatus SetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder order);
OSStatus GetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder* order);
OSStatus SetDataBrowserSelectionFlags(ControlRef browser, DataBrowserSelectionFlags flags);
OSStatus GetDataBrowserSelectionFlags(ControlRef browser, DataBrowserSelectionFlags* flags);
OSStatus SetDataBrowserTableViewHiliteStyle(ControlRef browser,
                                            DataBrowserTableViewHiliteStyle style);
OSStatus SetDataBrowserListViewUsePlainBackground(ControlRef browser, Boolean usePlain);
OSStatus GetDataBrowserListViewUsePlainBackground(ControlRef browser, Boolean* usePlain);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_DATABROWSER_H
