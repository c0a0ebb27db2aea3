// The list-view data browser: which rows drawing visits and with which rectangles, scrolling,
// revealing, cell bounds, rows and columns, selection by click, and callbacks that change the list
// while it is drawn.
#include <string>
#include <vector>

#include "ToolboxFixture.h"

namespace {

const DataBrowserPropertyID kTitle = HALYX_FOUR_CHAR('t', 'w', 'o', 'x');
const DataBrowserPropertyID kValue = HALYX_FOUR_CHAR('f', 'o', 'u', 'x');

struct Call {
    std::string what;  // "data", "draw", "note"
    DataBrowserItemID item;
    UInt32 detail;  // property, or the notification
    Rect rect;
};

// What the callbacks saw; found through the browser's reference.
struct Recorder {
    std::vector<Call> calls;
    bool refuseSelection = false;
    int redrawsLeft = 0;   // custom draw: draw the browser again this many times
    int removalsLeft = 0;  // custom draw: remove the last row this many times
};

Recorder* RecorderOf(ControlRef browser) {
    return static_cast<Recorder*>(GetControlReference(browser));
}

OSStatus ItemData(ControlRef browser, DataBrowserItemID item, DataBrowserPropertyID property,
                  DataBrowserItemDataRef itemData, Boolean setValue) {
    Recorder* rec = RecorderOf(browser);
    DataBrowserPropertyID asked = 0;
    GetDataBrowserItemDataProperty(itemData, &asked);
    EXPECT_EQ(property, asked);
    EXPECT_FALSE(setValue);
    rec->calls.push_back({"data", item, property, Rect{0, 0, 0, 0}});
    if (property == kTitle) {
        CFStringRef text = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("row %lu"),
                                                    static_cast<unsigned long>(item));
        SetDataBrowserItemDataText(itemData, text);
        CFRelease(text);
    } else if (property == kDataBrowserItemIsSelectableProperty) {
        SetDataBrowserItemDataBooleanValue(itemData, !rec->refuseSelection);
    }
    return noErr;
}

void Notification(ControlRef browser, DataBrowserItemID item, DataBrowserItemNotification message) {
    RecorderOf(browser)->calls.push_back({"note", item, message, Rect{0, 0, 0, 0}});
}

void DrawItem(ControlRef browser, DataBrowserItemID item, DataBrowserPropertyID property,
              DataBrowserItemState, const Rect* rect, SInt16, Boolean) {
    Recorder* rec = RecorderOf(browser);
    rec->calls.push_back({"draw", item, property, *rect});
    if (rec->removalsLeft > 0) {
        --rec->removalsLeft;
        UInt32 count = 0;
        GetDataBrowserItemCount(browser, kDataBrowserNoItem, false, 0, &count);
        const DataBrowserItemID last = count;  // rows are numbered 1..count here
        RemoveDataBrowserItems(browser, kDataBrowserNoItem, 1, &last, 0);
    }
    if (rec->redrawsLeft > 0) {
        --rec->redrawsLeft;
        Draw1Control(browser);
    }
}

class ToolboxDataBrowserTest : public ToolboxTest {
protected:
    // A list at (20, 20) with no header and only a vertical scroll bar: 4 rows of 40 show.
    void SetUp() override {
        ToolboxTest::SetUp();
        const Rect bounds = {20, 20, 180, 335};
        ASSERT_EQ(noErr,
                  CreateDataBrowserControl(window_, &bounds, kDataBrowserListView, &browser_));
        SetControlReference(browser_, &rec_);
        SetDataBrowserHasScrollBars(browser_, false, true);
        SetDataBrowserListViewHeaderBtnHeight(browser_, 0);
        SetDataBrowserTableViewRowHeight(browser_, 40);
        AddColumn(kTitle, kDataBrowserTextType, 100, 100);
        AddColumn(kValue, kDataBrowserCustomType, 200, 200);

        DataBrowserCallbacks callbacks;
        InitDataBrowserCallbacks(&callbacks);
        callbacks.u.v1.itemDataCallback = NewDataBrowserItemDataUPP(ItemData);
        callbacks.u.v1.itemNotificationCallback = NewDataBrowserItemNotificationUPP(Notification);
        ASSERT_EQ(noErr, SetDataBrowserCallbacks(browser_, &callbacks));
        DataBrowserCustomCallbacks custom;
        InitDataBrowserCustomCallbacks(&custom);
        custom.u.v1.drawItemCallback = NewDataBrowserDrawItemUPP(DrawItem);
        ASSERT_EQ(noErr, SetDataBrowserCustomCallbacks(browser_, &custom));
        for (DataBrowserItemID item = 1; item <= 10; ++item) items_.push_back(item);
        ASSERT_EQ(noErr, AddDataBrowserItems(browser_, kDataBrowserNoItem, 10, items_.data(), 0));
        rec_.calls.clear();
    }

    OSStatus AddColumn(DataBrowserPropertyID property, DataBrowserPropertyType type,
                       UInt16 minWidth, UInt16 maxWidth) {
        DataBrowserListViewColumnDesc desc = {};
        desc.propertyDesc.propertyID = property;
        desc.propertyDesc.propertyType = type;
        desc.headerBtnDesc.minimumWidth = minWidth;
        desc.headerBtnDesc.maximumWidth = maxWidth;
        return AddDataBrowserListViewColumn(browser_, &desc, kDataBrowserListViewAppendColumn);
    }

    // The rows (item ids) that drawing visited, in order, with the custom cells' top edges.
    std::vector<DataBrowserItemID> DrawnRows(std::vector<SInt16>* tops = nullptr) const {
        std::vector<DataBrowserItemID> rows;
        for (const Call& call : rec_.calls) {
            if (call.what != "draw") continue;
            rows.push_back(call.item);
            if (tops != nullptr) tops->push_back(call.rect.top);
        }
        return rows;
    }

    ControlRef browser_ = nullptr;
    Recorder rec_;
    std::vector<DataBrowserItemID> items_;
};

TEST_F(ToolboxDataBrowserTest, DrawingAsksForEachShownRowsCellsInRowAndColumnOrder) {
    ShowWindow(window_);
    ASSERT_EQ(8u, rec_.calls.size());
    for (size_t row = 0; row < 4; ++row) {
        const Call& data = rec_.calls[2 * row];
        const Call& draw = rec_.calls[2 * row + 1];
        EXPECT_EQ("data", data.what);
        EXPECT_EQ(row + 1, data.item);
        EXPECT_EQ(kTitle, data.detail);
        EXPECT_EQ("draw", draw.what);
        EXPECT_EQ(row + 1, draw.item);
        const Rect expected = {static_cast<SInt16>(20 + 40 * row), 120,
                               static_cast<SInt16>(60 + 40 * row), 320};
        EXPECT_TRUE(EqualRect(&expected, &draw.rect)) << "row " << row;
    }
    // The text the item-data callback gave is what the port shows, in the title cell.
    CGrafPtr port = GetWindowPort(window_);
    bool found = false;
    HalyxDrawing d;
    for (UInt32 i = 0; i < HalyxPortDrawingCount(port); ++i) {
        HalyxPortGetDrawing(port, i, &d);
        if (d.kind == kHalyxDrawText && std::string(d.text) == "row 3") {
            found = true;
            const Rect cell = {100, 20, 140, 120};
            EXPECT_TRUE(EqualRect(&cell, &d.rect));
            EXPECT_EQ(browser_, d.control);
            const Rect view = {20, 20, 180, 320};  // clipped to the view, scroll bar excluded
            EXPECT_TRUE(EqualRect(&view, &d.clip));
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(ToolboxDataBrowserTest, ScrollingChangesWhichRowsAreDrawnAndWhere) {
    ShowWindow(window_);
    rec_.calls.clear();
    ASSERT_EQ(noErr, HalyxScrollBrowser(browser_, 100));
    std::vector<SInt16> tops;
    // 100 pixels down: row 3 starts 20 above the view's top, row 7 shows its first 20 pixels.
    EXPECT_EQ((std::vector<DataBrowserItemID>{3, 4, 5, 6, 7}), DrawnRows(&tops));
    EXPECT_EQ((std::vector<SInt16>{0, 40, 80, 120, 160}), tops);

    // The position stays within the list: 10 rows of 40 in a view of 160.
    HalyxScrollBrowser(browser_, 10000);
    UInt32 top = 0, left = 0;
    GetDataBrowserScrollPosition(browser_, &top, &left);
    EXPECT_EQ(240u, top);
    rec_.calls.clear();
    HalyxDrawWindow(window_);
    EXPECT_EQ((std::vector<DataBrowserItemID>{7, 8, 9, 10}), DrawnRows());
    HalyxScrollBrowser(browser_, -10000);
    GetDataBrowserScrollPosition(browser_, &top, &left);
    EXPECT_EQ(0u, top);
}

TEST_F(ToolboxDataBrowserTest, PartBoundsFollowTheScrollAndRevealScrollsTheLeastNeeded) {
    Rect cell;
    ASSERT_EQ(noErr, GetDataBrowserItemPartBounds(browser_, 6, kValue,
                                                  kDataBrowserPropertyEnclosingPart, &cell));
    const Rect below = {220, 120, 260, 320};  // outside the view, still answered
    EXPECT_TRUE(EqualRect(&below, &cell));

    ASSERT_EQ(noErr,
              RevealDataBrowserItem(browser_, 6, kValue, kDataBrowserRevealWithoutSelecting));
    UInt32 top = 0, left = 0;
    GetDataBrowserScrollPosition(browser_, &top, &left);
    EXPECT_EQ(80u, top);  // row 6 now ends at the view's bottom
    GetDataBrowserItemPartBounds(browser_, 6, kTitle, 0, &cell);
    const Rect shown = {140, 20, 180, 120};
    EXPECT_TRUE(EqualRect(&shown, &cell));
    EXPECT_FALSE(IsDataBrowserItemSelected(browser_, 6));
    EXPECT_TRUE(rec_.calls.empty());

    // A row already shown does not scroll; revealing with selection selects and tells.
    RevealDataBrowserItem(browser_, 4, kValue, kDataBrowserRevealOnly);
    GetDataBrowserScrollPosition(browser_, &top, &left);
    EXPECT_EQ(80u, top);
    EXPECT_TRUE(IsDataBrowserItemSelected(browser_, 4));
    ASSERT_FALSE(rec_.calls.empty());
    EXPECT_EQ(UInt32{kDataBrowserItemSelected}, rec_.calls.back().detail);
    RevealDataBrowserItem(browser_, 1, kValue, kDataBrowserRevealWithoutSelecting);
    GetDataBrowserScrollPosition(browser_, &top, &left);
    EXPECT_EQ(0u, top);
    RevealDataBrowserItem(browser_, 6, kValue,
                          kDataBrowserRevealAndCenterInView | kDataBrowserRevealWithoutSelecting);
    GetDataBrowserScrollPosition(browser_, &top, &left);
    EXPECT_EQ(140u, top);  // 200 - (160 - 40) / 2

    EXPECT_EQ(errDataBrowserItemNotFound, RevealDataBrowserItem(browser_, 99, kValue, 0));
    EXPECT_EQ(errDataBrowserItemNotFound,
              GetDataBrowserItemPartBounds(browser_, 99, kValue, 0, &cell));
    EXPECT_EQ(
        errDataBrowserPropertyNotFound,
        GetDataBrowserItemPartBounds(browser_, 1, HALYX_FOUR_CHAR('n', 'o', 'n', 'e'), 0, &cell));
}

TEST_F(ToolboxDataBrowserTest, HeaderAndRowHeightPlaceTheRows) {
    SetDataBrowserListViewHeaderBtnHeight(browser_, 17);
    SetDataBrowserTableViewRowHeight(browser_, 42);
    Rect cell;
    GetDataBrowserItemPartBounds(browser_, 2, kTitle, 0, &cell);
    EXPECT_EQ(20 + 17 + 42, cell.top);
    EXPECT_EQ(20 + 17 + 84, cell.bottom);
    UInt16 height = 0;
    GetDataBrowserTableViewRowHeight(browser_, &height);
    EXPECT_EQ(42, height);
    EXPECT_EQ(paramErr, SetDataBrowserTableViewRowHeight(browser_, 0));
}

TEST_F(ToolboxDataBrowserTest, RowsAreAddedAndRemovedWithNotificationsAndChecks) {
    const DataBrowserItemID more[] = {11, 3, 12};
    EXPECT_EQ(errDataBrowserItemNotAdded,
              AddDataBrowserItems(browser_, kDataBrowserNoItem, 3, more, 0));
    UInt32 count = 0;
    GetDataBrowserItemCount(browser_, kDataBrowserNoItem, false, 0, &count);
    EXPECT_EQ(11u, count);  // 11 went in before the duplicate stopped it
    const DataBrowserItemID none = kDataBrowserNoItem;
    EXPECT_EQ(errDataBrowserItemNotAdded, AddDataBrowserItems(browser_, 0, 1, &none, 0));

    SetDataBrowserScrollPosition(browser_, 240, 0);
    rec_.calls.clear();
    const DataBrowserItemID gone[] = {2, 42, 11};
    EXPECT_EQ(noErr, RemoveDataBrowserItems(browser_, kDataBrowserNoItem, 3, gone, 0));
    ASSERT_EQ(2u, rec_.calls.size());
    EXPECT_EQ(2u, rec_.calls[0].item);
    EXPECT_EQ(UInt32{kDataBrowserItemRemoved}, rec_.calls[0].detail);
    EXPECT_EQ(11u, rec_.calls[1].item);
    UInt32 top = 0;
    GetDataBrowserScrollPosition(browser_, &top, nullptr);
    EXPECT_EQ(200u, top);  // 9 rows left: the position was pulled back within the list
    Rect cell;
    GetDataBrowserItemPartBounds(browser_, 3, kTitle, 0, &cell);
    EXPECT_EQ(20 + 40 - 200, cell.top);  // row 3 moved up into the second place

    EXPECT_EQ(noErr, RemoveDataBrowserItems(browser_, kDataBrowserNoItem, 0, nullptr, 0));
    GetDataBrowserItemCount(browser_, kDataBrowserNoItem, false, 0, &count);
    EXPECT_EQ(0u, count);
    // A removed item is no row any more: it can come back.
    EXPECT_EQ(noErr, AddDataBrowserItems(browser_, kDataBrowserNoItem, 1, &more[0], 0));
    EXPECT_EQ(noErr, RemoveDataBrowserItems(browser_, kDataBrowserNoItem, 1, &more[0], 0));
    rec_.calls.clear();
    ShowWindow(window_);
    EXPECT_TRUE(rec_.calls.empty());
}

TEST_F(ToolboxDataBrowserTest, ColumnsAreAddedSizedAndRemoved) {
    EXPECT_EQ(paramErr, AddColumn(kTitle, kDataBrowserTextType, 10, 10));
    ASSERT_EQ(noErr,
              AddColumn(HALYX_FOUR_CHAR('o', 'n', 'e', 'x'), kDataBrowserCheckboxType, 20, 60));
    UInt32 columns = 0;
    GetDataBrowserTableViewColumnCount(browser_, &columns);
    EXPECT_EQ(3u, columns);
    // The view is 300 wide; the columns start at 100 + 200 + 20: nothing to spread.
    AutoSizeDataBrowserListViewColumns(browser_);
    UInt16 width = 0;
    GetDataBrowserTableViewNamedColumnWidth(browser_, HALYX_FOUR_CHAR('o', 'n', 'e', 'x'), &width);
    EXPECT_EQ(20, width);
    ASSERT_EQ(noErr, RemoveDataBrowserTableViewColumn(browser_, kValue));
    EXPECT_EQ(errDataBrowserPropertyNotFound, RemoveDataBrowserTableViewColumn(browser_, kValue));
    // Now 180 pixels are left over: the first column is full at 100, the second grows to 60.
    AutoSizeDataBrowserListViewColumns(browser_);
    GetDataBrowserTableViewNamedColumnWidth(browser_, HALYX_FOUR_CHAR('o', 'n', 'e', 'x'), &width);
    EXPECT_EQ(60, width);
    Rect cell;
    GetDataBrowserItemPartBounds(browser_, 1, HALYX_FOUR_CHAR('o', 'n', 'e', 'x'), 0, &cell);
    EXPECT_EQ(120, cell.left);
    EXPECT_EQ(180, cell.right);
}

TEST_F(ToolboxDataBrowserTest, AClickSelectsTheRowUnderItWhenTheRowIsSelectable) {
    ShowWindow(window_);
    rec_.calls.clear();
    EXPECT_EQ(noErr, HalyxClickPoint(window_, Point{105, 50}, 0));  // row 3
    EXPECT_TRUE(IsDataBrowserItemSelected(browser_, 3));
    HalyxClickPoint(window_, Point{145, 50}, 0);  // row 4
    EXPECT_FALSE(IsDataBrowserItemSelected(browser_, 3));
    EXPECT_TRUE(IsDataBrowserItemSelected(browser_, 4));
    std::vector<std::string> notes;
    for (const Call& call : rec_.calls) {
        if (call.what == "note")
            notes.push_back(std::to_string(call.item) + ":" + std::to_string(call.detail));
    }
    EXPECT_EQ((std::vector<std::string>{"3:5", "3:6", "4:5"}), notes);
    rec_.refuseSelection = true;
    HalyxClickPoint(window_, Point{25, 50}, 0);  // row 1, not selectable
    EXPECT_FALSE(IsDataBrowserItemSelected(browser_, 1));
    EXPECT_TRUE(IsDataBrowserItemSelected(browser_, 4));
}

TEST_F(ToolboxDataBrowserTest, CallbacksMayRemoveRowsAndDrawAgainWhileTheListIsDrawn) {
    rec_.removalsLeft =
        8;  // each custom cell removes the last row: the list shrinks under the walk
    rec_.redrawsLeft = 2;
    ShowWindow(window_);
    UInt32 count = 0;
    GetDataBrowserItemCount(browser_, kDataBrowserNoItem, false, 0, &count);
    EXPECT_EQ(2u, count);
    for (DataBrowserItemID row : DrawnRows()) EXPECT_LE(row, 4u);
    // A control that is not a browser is told so.
    ControlRef pane = MakePane(0, 0, 10, 10);
    EXPECT_EQ(errDataBrowserNotConfigured, SetDataBrowserTableViewRowHeight(pane, 20));
    const Rect bounds = {0, 0, 10, 10};
    ControlRef column = nullptr;
    EXPECT_EQ(paramErr,
              CreateDataBrowserControl(window_, &bounds, kDataBrowserColumnView, &column));
}

}  // namespace
