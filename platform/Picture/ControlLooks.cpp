// The looks of the toolkit's controls: edit fields, push buttons, placards and the data browser.
#include "Picture/ControlLooks.h"

#include <algorithm>
#include <string>

#include "HIToolbox/DataBrowser.h"
#include "HIToolbox/Events.h"

namespace halyx_picture {

namespace {

constexpr Colour kWhite = {0xFF, 0xFF, 0xFF};
constexpr Colour kBlack = {0x00, 0x00, 0x00};
constexpr Colour kFieldBorder = {0x9A, 0x9A, 0x9A};
constexpr Colour kDisabledFill = {0xF4, 0xF4, 0xF4};
constexpr Colour kDisabledLine = {0xCC, 0xCC, 0xCC};
constexpr Colour kDisabledText = {0x9C, 0x9C, 0x9C};
constexpr Colour kFocusRing = {0x5B, 0x9D, 0xE9};
constexpr Colour kSelection = {0xB4, 0xD5, 0xFE};
constexpr Colour kButtonFill = {0xFC, 0xFC, 0xFC};
constexpr Colour kButtonLine = {0xA6, 0xA6, 0xA6};
constexpr Colour kDefaultFill = {0x3A, 0x7B, 0xD5};
constexpr Colour kDefaultLine = {0x2A, 0x62, 0xB0};
constexpr Colour kPlacardLine = {0x99, 0x99, 0x99};
constexpr Colour kListLine = {0xA6, 0xA6, 0xA6};
constexpr Colour kRowLine = {0xEE, 0xEE, 0xEE};
constexpr Colour kRowSelected = {0xCF, 0xE2, 0xFB};
constexpr Colour kHeaderFill = {0xF2, 0xF2, 0xF2};
constexpr Colour kScrollTrack = {0xF4, 0xF4, 0xF4};
constexpr Colour kScrollThumb = {0xB8, 0xB8, 0xB8};

// The toolkit's scroll bars are this wide (DataBrowser.h); a thumb is never shorter than this.
constexpr SInt16 kScrollBarWidth = 15;
constexpr SInt16 kMinimumThumb = 20;
constexpr double kButtonRadius = 4;

Rect Outset(Rect r, SInt16 by) {
    r.top = static_cast<SInt16>(r.top - by);
    r.left = static_cast<SInt16>(r.left - by);
    r.bottom = static_cast<SInt16>(r.bottom + by);
    r.right = static_cast<SInt16>(r.right + by);
    return r;
}

bool Enabled(ControlRef control) {
    return GetControlHilite(control) != kControlDisabledPart;
}

bool HasFocus(WindowRef window, ControlRef control) {
    ControlRef focus = nullptr;
    return GetKeyboardFocus(window, &focus) == noErr && focus == control;
}

bool IsDefaultButton(ControlRef control) {
    UInt32 command = 0;
    return GetControlCommandID(control, &command) == noErr && command == kHICommandOK;
}

Colour TextColour(ControlRef control) {
    ControlFontStyleRec style = {};
    Size size = 0;
    if (GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof style, &style,
                       &size) == noErr &&
        (style.flags & kControlUseForeColorMask) != 0)
        return ColourOf(style.foreColor);
    return kBlack;
}

TextStyle StyleOf(const HalyxDrawing& drawing, Colour colour) {
    TextStyle style;
    style.font = drawing.font;
    style.size = drawing.size;
    style.face = drawing.face;
    style.colour = colour;
    return style;
}

// Byte offset in UTF-8 `text` of the character at `index`.
long Utf8Offset(const std::string& text, long index) {
    long offset = 0;
    for (long seen = 0; seen < index && offset < static_cast<long>(text.size()); ++seen) {
        ++offset;
        while (offset < static_cast<long>(text.size()) &&
               (static_cast<unsigned char>(text[static_cast<size_t>(offset)]) & 0xC0) == 0x80)
            ++offset;
    }
    return offset;
}

void PaintEditText(PictureCanvas& canvas, WindowRef window, const HalyxDrawing& d) {
    const bool enabled = Enabled(d.control);
    if (enabled && HasFocus(window, d.control))
        canvas.Frame(Outset(d.rect, 3), 2, kFocusRing, d.clip);
    canvas.Frame(Outset(d.rect, 1), 1, enabled ? kFieldBorder : kDisabledLine, d.clip);
    canvas.Fill(d.rect, enabled ? kWhite : kDisabledFill, d.clip);
}

void PaintPushButton(PictureCanvas& canvas, const HalyxDrawing& d) {
    if (!Enabled(d.control)) {
        canvas.RoundedBox(d.rect, kButtonRadius, kDisabledFill, kDisabledLine, d.clip);
    } else if (IsDefaultButton(d.control)) {
        canvas.RoundedBox(d.rect, kButtonRadius, kDefaultFill, kDefaultLine, d.clip);
    } else {
        canvas.RoundedBox(d.rect, kButtonRadius, kButtonFill, kButtonLine, d.clip);
    }
}

// A scroll bar's track along `track` with a thumb for `position` of `content` pixels of which
// `shown` are in view; `vertical` tells the direction.
void PaintScrollBar(PictureCanvas& canvas, const Rect& track, long content, long shown,
                    long position, bool vertical, const Rect& clip) {
    canvas.Fill(track, kScrollTrack, clip);
    const long length = vertical ? track.bottom - track.top : track.right - track.left;
    if (content <= shown || length <= kMinimumThumb) return;
    const long thumb = std::max<long>(kMinimumThumb, length * shown / content);
    const long start = (length - thumb) * std::min(position, content - shown) / (content - shown);
    Rect r = track;
    if (vertical) {
        r.top = static_cast<SInt16>(track.top + start);
        r.bottom = static_cast<SInt16>(r.top + thumb);
        r.left = static_cast<SInt16>(r.left + 3);
        r.right = static_cast<SInt16>(r.right - 3);
    } else {
        r.left = static_cast<SInt16>(track.left + start);
        r.right = static_cast<SInt16>(r.left + thumb);
        r.top = static_cast<SInt16>(r.top + 3);
        r.bottom = static_cast<SInt16>(r.bottom - 3);
    }
    canvas.RoundedBox(r, 4, kScrollThumb, kScrollThumb, clip);
}

// Whether the row of `browser` under the window's vertical coordinate `v` is selected.
bool RowSelectedAt(ControlRef browser, SInt16 v) {
    Rect bounds;
    GetControlBounds(browser, &bounds);
    UInt16 header = 0, rowHeight = 0;
    UInt32 top = 0, left = 0;
    GetDataBrowserListViewHeaderBtnHeight(browser, &header);
    GetDataBrowserTableViewRowHeight(browser, &rowHeight);
    GetDataBrowserScrollPosition(browser, &top, &left);
    const long offset = v - (bounds.top + header) + static_cast<long>(top);
    DataBrowserItemID item = kDataBrowserNoItem;
    return rowHeight > 0 && offset >= 0 &&
           GetDataBrowserTableViewItemID(browser, static_cast<UInt32>(offset / rowHeight), &item) ==
               noErr &&
           IsDataBrowserItemSelected(browser, item);
}

// A cell paints its own background, so a cell drawn again by a nested pass of the list stays as
// it was instead of darkening.
void PaintCellBackground(PictureCanvas& canvas, const HalyxDrawing& d) {
    Rect cell = d.rect;
    cell.bottom = static_cast<SInt16>(std::max<long>(cell.top, cell.bottom - 1));  // the row line
    // Inside the list's frame.
    Rect inside, clip;
    GetControlBounds(d.control, &inside);
    InsetRect(&inside, 1, 1);
    if (!SectRect(&inside, &d.clip, &clip)) return;
    canvas.Fill(cell, RowSelectedAt(d.control, d.rect.top) ? kRowSelected : kWhite, clip);
}

void PaintDataBrowser(PictureCanvas& canvas, const HalyxDrawing& d) {
    ControlRef browser = d.control;
    canvas.Fill(d.rect, kWhite, d.clip);
    UInt16 header = 0, rowHeight = 0;
    Boolean horizontal = false, vertical = false;
    UInt32 rows = 0, columns = 0, top = 0, left = 0;
    GetDataBrowserListViewHeaderBtnHeight(browser, &header);
    GetDataBrowserTableViewRowHeight(browser, &rowHeight);
    GetDataBrowserHasScrollBars(browser, &horizontal, &vertical);
    GetDataBrowserItemCount(browser, kDataBrowserNoItem, false, kDataBrowserItemNoState, &rows);
    GetDataBrowserTableViewColumnCount(browser, &columns);
    GetDataBrowserScrollPosition(browser, &top, &left);

    Rect view = d.rect;
    view.top = static_cast<SInt16>(std::min<long>(view.bottom, view.top + header));
    if (vertical)
        view.right = static_cast<SInt16>(std::max<long>(view.left, view.right - kScrollBarWidth));
    if (horizontal)
        view.bottom = static_cast<SInt16>(std::max<long>(view.top, view.bottom - kScrollBarWidth));
    Rect viewClip;
    if (header > 0) {
        const Rect band = {d.rect.top, d.rect.left, view.top, d.rect.right};
        canvas.Fill(band, kHeaderFill, d.clip);
    }
    if (rowHeight > 0 && SectRect(&view, &d.clip, &viewClip)) {
        for (UInt32 row = top / rowHeight; row < rows; ++row) {
            const long rowTop =
                view.top + static_cast<long>(row) * rowHeight - static_cast<long>(top);
            if (rowTop >= view.bottom) break;
            const Rect r = {static_cast<SInt16>(rowTop), view.left,
                            static_cast<SInt16>(rowTop + rowHeight), view.right};
            DataBrowserItemID item = kDataBrowserNoItem;
            if (GetDataBrowserTableViewItemID(browser, row, &item) == noErr &&
                IsDataBrowserItemSelected(browser, item))
                canvas.Fill(r, kRowSelected, viewClip);
            const Rect line = {static_cast<SInt16>(r.bottom - 1), r.left, r.bottom, r.right};
            canvas.Fill(line, kRowLine, viewClip);
        }
    }
    if (vertical) {
        const Rect track = {view.top, view.right, view.bottom, d.rect.right};
        PaintScrollBar(canvas, track, static_cast<long>(rows) * rowHeight, view.bottom - view.top,
                       static_cast<long>(top), true, d.clip);
    }
    if (horizontal) {
        long width = 0;
        for (UInt32 c = 0; c < columns; ++c) {
            DataBrowserTableViewColumnID property = 0;
            UInt16 w = 0;
            if (GetDataBrowserTableViewColumnProperty(browser, c, &property) == noErr &&
                GetDataBrowserTableViewNamedColumnWidth(browser, property, &w) == noErr)
                width += w;
        }
        const Rect track = {view.bottom, d.rect.left, d.rect.bottom, view.right};
        PaintScrollBar(canvas, track, width, view.right - view.left, static_cast<long>(left), false,
                       d.clip);
    }
    canvas.Frame(d.rect, 1, kListLine, d.clip);
}

}  // namespace

bool IsShownNow(ControlRef control) {
    for (ControlRef c = control; c != nullptr;) {
        if (!IsControlVisible(c)) return false;
        ControlRef parent = nullptr;
        if (GetSuperControl(c, &parent) != noErr) return false;
        c = parent;
    }
    return control != nullptr;
}

Colour EraseColour(ControlRef owner) {
    switch (HalyxGetControlKind(owner)) {
        case kHalyxControlEditText:
        case kHalyxControlDataBrowser:
            return kWhite;
        default:
            return kWindowBackground;
    }
}

void PaintControl(PictureCanvas& canvas, WindowRef window, const HalyxDrawing& d) {
    switch (HalyxGetControlKind(d.control)) {
        case kHalyxControlEditText:
            PaintEditText(canvas, window, d);
            break;
        case kHalyxControlPushButton:
            PaintPushButton(canvas, d);
            break;
        case kHalyxControlDataBrowser:
            PaintDataBrowser(canvas, d);
            break;
        case kHalyxControlPlacard:  // its frame is drawn as its own entry
        case kHalyxControlUserPane:
        case kHalyxControlUnknown:
            break;
    }
}

void PaintOwnedText(PictureCanvas& canvas, WindowRef window, const HalyxDrawing& d) {
    const std::string text = Utf8FromSystemBytes(d.text, d.textLength);
    const HalyxControlKind kind = HalyxGetControlKind(d.control);
    const bool enabled = Enabled(d.control);
    switch (kind) {
        case kHalyxControlEditText: {
            long from = -1, to = -1;
            ControlEditTextSelectionRec selection = {0, 0};
            Size size = 0;
            if (enabled && HasFocus(window, d.control) &&
                GetControlData(d.control, kControlEditTextPart, kControlEditTextSelectionTag,
                               sizeof selection, &selection, &size) == noErr) {
                from = Utf8Offset(text, selection.selStart);
                to = Utf8Offset(text, selection.selEnd);
            }
            canvas.Text(text, d.rect, StyleOf(d, enabled ? TextColour(d.control) : kDisabledText),
                        TextLayout::kFieldLine, d.clip, from, to, kSelection);
            break;
        }
        case kHalyxControlPushButton: {
            const Colour colour = !enabled                     ? kDisabledText
                                  : IsDefaultButton(d.control) ? kWhite
                                                               : TextColour(d.control);
            canvas.Text(text, d.rect, StyleOf(d, colour), TextLayout::kCentredLine, d.clip);
            break;
        }
        case kHalyxControlDataBrowser:
            PaintCellBackground(canvas, d);
            canvas.Text(text, d.rect, StyleOf(d, TextColour(d.control)), TextLayout::kLine, d.clip);
            break;
        default:
            canvas.Text(text, d.rect, StyleOf(d, ColourOf(d.foreColor)), TextLayout::kWrapped,
                        d.clip);
            break;
    }
}

void PaintOwnedFrame(PictureCanvas& canvas, const HalyxDrawing& d) {
    switch (HalyxGetControlKind(d.control)) {
        case kHalyxControlPlacard:
            canvas.Frame(d.rect, 1, kPlacardLine, d.clip);
            break;
        case kHalyxControlEditText:
        case kHalyxControlPushButton:
            break;  // their bodies carry their borders
        default:
            canvas.Frame(d.rect, 1, ColourOf(d.foreColor), d.clip);
            break;
    }
}

}  // namespace halyx_picture
