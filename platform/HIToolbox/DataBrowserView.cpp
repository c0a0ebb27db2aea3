// The data browser's view: scrolling, revealing, cell rectangles, drawing the rows and selecting
// them.
#include <algorithm>
#include <string>

#include "HIToolbox/ControlObject.h"
#include "HIToolbox/PortObject.h"
#include "HIToolbox/WindowObject.h"

struct OpaqueDataBrowserItemDataRef {
    DataBrowserPropertyID property = 0;
    CFStringRef text = nullptr;
    bool hasBoolean = false;
    Boolean boolean = false;
};

namespace {

constexpr long kScrollBarWidth = 15;

using halyx_toolbox::BrowserOf;
using halyx_toolbox::BrowserState;

SInt16 Clamp16(long value) {
    return static_cast<SInt16>(std::max(-32767L, std::min(32767L, value)));
}

long ViewHeight(const Rect& view) {
    return std::max(0, view.bottom - view.top);
}
long ViewWidth(const Rect& view) {
    return std::max(0, view.right - view.left);
}

// The cell of row `row` in column `column` (an index), at the current scroll position.
Rect CellRect(ControlRef browser, const BrowserState& state, long row, size_t column) {
    const Rect view = halyx_toolbox::BrowserView(browser);
    long left = view.left - static_cast<long>(state.scrollLeft);
    for (size_t c = 0; c < column; ++c) left += state.columns[c].width;
    const long top = view.top + row * state.rowHeight - static_cast<long>(state.scrollTop);
    return Rect{Clamp16(top), Clamp16(left), Clamp16(top + state.rowHeight),
                Clamp16(left + state.columns[column].width)};
}

// Asks the item-data callback one Boolean item property; `fallback` when nobody answers.
bool AskItemProperty(ControlRef browser, DataBrowserItemID item, DataBrowserPropertyID property,
                     bool fallback) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    if (state == nullptr || state->callbacks.u.v1.itemDataCallback == nullptr) return fallback;
    OpaqueDataBrowserItemDataRef data;
    data.property = property;
    state->callbacks.u.v1.itemDataCallback(browser, item, property, &data, false);
    if (data.text != nullptr) CFRelease(data.text);
    return data.hasBoolean ? data.boolean != 0 : fallback;
}

void Notify(ControlRef browser, DataBrowserItemID item, DataBrowserItemNotification message) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    if (state != nullptr && state->callbacks.u.v1.itemNotificationCallback != nullptr) {
        state->callbacks.u.v1.itemNotificationCallback(browser, item, message);
    }
}

void DrawCell(ControlRef browser, DataBrowserItemID item,
              const halyx_toolbox::BrowserColumn& column, const Rect& cell) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    const bool selected =
        std::find(state->selected.begin(), state->selected.end(), item) != state->selected.end();
    if (column.type == kDataBrowserCustomType) {
        DataBrowserDrawItemUPP draw = state->customCallbacks.u.v1.drawItemCallback;
        if (draw != nullptr) {
            draw(browser, item, column.property,
                 selected ? kDataBrowserItemIsSelected : kDataBrowserItemNoState, &cell, 32, true);
        }
        return;
    }
    DataBrowserItemDataUPP data = state->callbacks.u.v1.itemDataCallback;
    if (data == nullptr) return;
    OpaqueDataBrowserItemDataRef value;
    value.property = column.property;
    data(browser, item, column.property, &value, false);
    if (value.text != nullptr) {
        const std::string bytes = halyx_toolbox::SystemBytesFromCharacters(
            halyx_toolbox::CharactersFromString(value.text));
        CFRelease(value.text);
        GrafPtr port;
        GetPort(&port);
        if (port != nullptr) halyx_toolbox::AppendControlText(port, browser, cell, bytes);
    }
}

}  // namespace

namespace halyx_toolbox {

Rect BrowserView(ControlRef browser) {
    const BrowserState& state = *browser->browser;
    Rect view = browser->bounds;
    view.top = Clamp16(view.top + state.headerHeight);
    if (state.hasVerticalBar) view.right = Clamp16(view.right - kScrollBarWidth);
    if (state.hasHorizontalBar) view.bottom = Clamp16(view.bottom - kScrollBarWidth);
    if (view.bottom < view.top) view.bottom = view.top;
    if (view.right < view.left) view.right = view.left;
    return view;
}

void ClampBrowserScroll(ControlRef browser) {
    BrowserState& state = *browser->browser;
    const Rect view = BrowserView(browser);
    const long maxTop =
        std::max(0L, static_cast<long>(state.items.size()) * state.rowHeight - ViewHeight(view));
    const long maxLeft =
        std::max(0L, static_cast<long>(state.TotalColumnWidth()) - ViewWidth(view));
    state.scrollTop = static_cast<UInt32>(std::min<long>(state.scrollTop, maxTop));
    state.scrollLeft = static_cast<UInt32>(std::min<long>(state.scrollLeft, maxLeft));
}

void DrawBrowser(ControlRef browser) {
    GrafPtr port;
    GetPort(&port);
    if (port == nullptr) return;
    const Rect savedClip = port->clip;
    Rect view = BrowserView(browser);
    Rect clip;
    if (SectRect(&view, &savedClip, &clip)) {
        port->clip = clip;
        // Callbacks may add or remove rows or columns, scroll, draw again or dispose the browser:
        // everything is looked up afresh at each step.
        for (long row = browser->browser->scrollTop / browser->browser->rowHeight;; ++row) {
            if (!IsLiveControl(browser)) return;
            const BrowserState* state = browser->browser.get();
            if (row >= static_cast<long>(state->items.size())) break;
            view = BrowserView(browser);
            const long top =
                view.top + row * state->rowHeight - static_cast<long>(state->scrollTop);
            if (top >= view.bottom) break;
            const DataBrowserItemID item = state->items[static_cast<size_t>(row)];
            for (size_t column = 0;; ++column) {
                if (!IsLiveControl(browser)) return;
                state = browser->browser.get();
                if (column >= state->columns.size() || state->RowOf(item) < 0) break;
                const halyx_toolbox::BrowserColumn col = state->columns[column];
                DrawCell(browser, item, col, CellRect(browser, *state, state->RowOf(item), column));
            }
        }
    }
    port->clip = savedClip;
}

void SelectBrowserItem(ControlRef browser, DataBrowserItemID item) {
    if (!AskItemProperty(browser, item, kDataBrowserItemIsSelectableProperty, true)) return;
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    if (state == nullptr || state->RowOf(item) < 0) return;
    if (state->selected.size() == 1 && state->selected[0] == item) return;
    const std::vector<DataBrowserItemID> previous = state->selected;
    state->selected.assign(1, item);
    for (DataBrowserItemID old : previous) {
        if (old != item) Notify(browser, old, kDataBrowserItemDeselected);
    }
    Notify(browser, item, kDataBrowserItemSelected);
}

void BrowserClick(ControlRef browser, Point where) {
    const BrowserState& state = *browser->browser;
    const Rect view = BrowserView(browser);
    if (!PtInRect(where, &view)) return;
    const long row = (where.v - view.top + static_cast<long>(state.scrollTop)) / state.rowHeight;
    if (row < static_cast<long>(state.items.size())) {
        SelectBrowserItem(browser, state.items[static_cast<size_t>(row)]);
    }
}

}  // namespace halyx_toolbox

OSStatus SetDataBrowserScrollPosition(ControlRef browser, UInt32 top, UInt32 left) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    if (state == nullptr) return status;
    state->scrollTop = top;
    state->scrollLeft = left;
    halyx_toolbox::ClampBrowserScroll(browser);
    return noErr;
}

OSStatus GetDataBrowserScrollPosition(ControlRef browser, UInt32* top, UInt32* left) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    if (state == nullptr) return status;
    if (top != nullptr) *top = state->scrollTop;
    if (left != nullptr) *left = state->scrollLeft;
    return noErr;
}

OSStatus RevealDataBrowserItem(ControlRef browser, DataBrowserItemID item,
                               DataBrowserPropertyID property, DataBrowserRevealOptions options) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    if (state == nullptr) return status;
    const long row = state->RowOf(item);
    if (row < 0) return errDataBrowserItemNotFound;
    const Rect view = halyx_toolbox::BrowserView(browser);
    const long height = ViewHeight(view);
    const long rowTop = row * state->rowHeight;
    long top = static_cast<long>(state->scrollTop);
    if ((options & kDataBrowserRevealAndCenterInView) != 0) {
        top = rowTop - (height - state->rowHeight) / 2;
    } else if (rowTop < top) {
        top = rowTop;
    } else if (rowTop + state->rowHeight > top + height) {
        top = rowTop + state->rowHeight - height;
    }
    long left = static_cast<long>(state->scrollLeft);
    long columnLeft = 0;
    for (const auto& column : state->columns) {
        if (column.property == property) {
            if (columnLeft < left) {
                left = columnLeft;
            } else if (columnLeft + column.width > left + ViewWidth(view)) {
                left = columnLeft + column.width - ViewWidth(view);
            }
            break;
        }
        columnLeft += column.width;
    }
    state->scrollTop = static_cast<UInt32>(std::max(0L, top));
    state->scrollLeft = static_cast<UInt32>(std::max(0L, left));
    halyx_toolbox::ClampBrowserScroll(browser);
    if ((options & kDataBrowserRevealWithoutSelecting) == 0) {
        halyx_toolbox::SelectBrowserItem(browser, item);
    }
    return noErr;
}

OSStatus GetDataBrowserItemPartBounds(ControlRef browser, DataBrowserItemID item,
                                      DataBrowserPropertyID property,
                                      DataBrowserPropertyPart /*part*/, Rect* bounds) {
    OSStatus status;
    BrowserState* state = BrowserOf(browser, &status);
    if (state == nullptr) return status;
    if (bounds == nullptr) return paramErr;
    const long row = state->RowOf(item);
    if (row < 0) return errDataBrowserItemNotFound;
    for (size_t column = 0; column < state->columns.size(); ++column) {
        if (state->columns[column].property == property) {
            *bounds = CellRect(browser, *state, row, column);
            return noErr;
        }
    }
    return errDataBrowserPropertyNotFound;
}

OSStatus SetDataBrowserItemDataText(DataBrowserItemDataRef itemData, CFStringRef text) {
    if (itemData == nullptr) return paramErr;
    CFStringRef copy = text != nullptr ? CFStringCreateCopy(nullptr, text) : nullptr;
    if (text != nullptr && copy == nullptr) return memFullErr;
    if (itemData->text != nullptr) CFRelease(itemData->text);
    itemData->text = copy;
    return noErr;
}

OSStatus SetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData, Boolean value) {
    if (itemData == nullptr) return paramErr;
    itemData->hasBoolean = true;
    itemData->boolean = value;
    return noErr;
}

OSStatus GetDataBrowserItemDataProperty(DataBrowserItemDataRef itemData,
                                        DataBrowserPropertyID* property) {
    if (itemData == nullptr || property == nullptr) return paramErr;
    *property = itemData->property;
    return noErr;
}
