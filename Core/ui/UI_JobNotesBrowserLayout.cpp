// The editor's layout: the row height from the field font, the columns, and placing the text fields
// as the rows are drawn and scrolled.
#include <string.h>

#include "Core/ORBJobNoteList.h"
#include "Core/ui/DataColumnDescription.h"
#include "Core/ui/EditorEntries.h"
#include "Core/ui/UI_EditControlList.h"
#include "Core/ui/UI_JobNotesBrowser.h"
#include "HIToolbox/Sound.h"

namespace {

// A row is the field font's line plus this much room, kept even.
constexpr UInt32 kRowPadding = 22;
// Below the last whole row.
constexpr SInt16 kBottomMargin = 9;
const char kReferenceText[] = "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM";  // 30 M
constexpr SInt16 kTitlePadding = 50;
constexpr SInt16 kSwitchColumnWidth = 26;
constexpr UInt16 kValueColumnSlack = 100;
constexpr SInt16 kTitleFontSize = 12;
constexpr SInt16 kSmallTitleFontSize = 9;
// Fields keep this far from the right of their cell.
constexpr SInt16 kFieldRightMargin = 24;
constexpr SInt16 kVisibleInset = 6;
constexpr SInt16 kClipInset = 3;
constexpr SInt16 kStopBeep = 1;

// Restores the port and its clip on leaving a drawing scope.
class PortClip {
public:
    PortClip(WindowRef window, const Rect& clip) : saved(nullptr), region(NewRgn()) {
        GetPort(&saved);
        SetPortWindowPort(window);
        if (region != nullptr) GetClip(region);
        ClipRect(&clip);
    }
    ~PortClip() {
        if (region != nullptr) {
            SetClip(region);
            DisposeRgn(region);
        }
        SetPort(saved);
    }

private:
    GrafPtr saved;
    RgnHandle region;
};

Rect Inset(Rect r, SInt16 by) {
    InsetRect(&r, by, by);
    return r;
}

bool Encloses(const Rect& outer, const Rect& inner) {
    return inner.top >= outer.top && inner.left >= outer.left && inner.bottom <= outer.bottom &&
           inner.right <= outer.right;
}

}  // namespace

OSStatus UI_JobNotesBrowser::AdjustBounds() {
    UI_EditControl probe(window, nullptr, nullptr);
    const Rect offScreen = {-1000, -1000, -980, -900};
    if (probe.Initialize(offScreen, "FOOO", false, true, false) != noErr) return noErr;
    FontInfo info;
    if (probe.getFontInfo(&info) == noErr) {
        const UInt32 line = static_cast<UInt32>(info.ascent + info.descent + info.leading);
        rowHeight = line + kRowPadding + (line % 2 != 0 ? 1 : 0);
    }
    const long height = bounds.bottom - bounds.top;
    visibleRows = height > 0 ? static_cast<UInt32>(height) / rowHeight : 0;
    bounds.bottom = static_cast<SInt16>(bounds.top + visibleRows * rowHeight + kBottomMargin);
    return noErr;
}

OSStatus UI_JobNotesBrowser::DefineDataBrowserCols() {
    SInt16 referenceWidth = 0;
    SInt16 titleWidth = 0;
    {
        GrafPtr saved;
        GetPort(&saved);
        SetPortWindowPort(window);
        referenceWidth = TextWidth(kReferenceText, 0, static_cast<SInt16>(strlen(kReferenceText)));
        char title[halyx_editor::kEntryTextSize];
        for (LinkElement_Dual* at = jobNotes != nullptr ? jobNotes->Head() : nullptr; at != nullptr;
             at = at->next) {
            halyx_editor::TitleOf(at, title);
            const SInt16 width = TextWidth(title, 0, static_cast<SInt16>(strlen(title)));
            if (width > titleWidth) titleWidth = width;
        }
        SetPort(saved);
    }
    titleWidth = static_cast<SInt16>(titleWidth + kTitlePadding);
    ControlFontStyleRec font;
    memset(&font, 0, sizeof font);
    font.flags = kControlUseFontMask | kControlUseSizeMask;
    font.font = systemFont;
    if (titleWidth <= referenceWidth) {
        font.size = kTitleFontSize;
    } else {
        font.size = kSmallTitleFontSize;
        titleWidth = referenceWidth;
    }
    SetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof font, &font);

    DataColumnDescription title;
    title.SetPropertyID(kTitleColumn);
    title.SetPropertyType(kDataBrowserTextType);
    title.SetPropertyFlags(kDataBrowserDefaultPropertyFlags);
    title.SetWidths(static_cast<UInt16>(titleWidth), static_cast<UInt16>(titleWidth));
    OSStatus status = AddDataBrowserListViewColumn(control, title.Description(),
                                                   kDataBrowserListViewAppendColumn);
    if (status != noErr) return status;

    long valueWidth = (bounds.right - bounds.left) - titleWidth;
    if (showSwitchColumn) valueWidth -= kSwitchColumnWidth;
    if (valueWidth < 0) valueWidth = 0;
    DataColumnDescription value;
    value.SetPropertyID(kValueColumn);
    value.SetPropertyType(kDataBrowserCustomType);
    value.SetPropertyFlags(kDataBrowserDefaultPropertyFlags);
    value.SetWidths(static_cast<UInt16>(valueWidth),
                    static_cast<UInt16>(valueWidth + kValueColumnSlack));
    status = AddDataBrowserListViewColumn(control, value.Description(),
                                          kDataBrowserListViewAppendColumn);
    if (status != noErr) return status;
    AutoSizeDataBrowserListViewColumns(control);
    return SetDataBrowserListViewHeaderBtnHeight(control, 0);
}

void UI_JobNotesBrowser::DrawItemCallback(ControlRef browser, DataBrowserItemID item,
                                          DataBrowserPropertyID /*property*/,
                                          DataBrowserItemState /*state*/, const Rect* cell,
                                          SInt16 /*depth*/, Boolean /*colorDevice*/) {
    UI_JobNotesBrowser* self = static_cast<UI_JobNotesBrowser*>(
        static_cast<UI_DataBrowser*>(GetControlReference(browser)));
    if (self == nullptr || cell == nullptr || self->editFields == nullptr) return;
    UI_EditControl* field = reinterpret_cast<UI_EditControl*>(item);
    if (!self->editFields->Contains(field)) return;
    if (!self->scrolling) self->ScrollingPass();
    // The pass may have reset the editor from a callback.
    if (self->editFields == nullptr || !self->editFields->Contains(field)) return;
    self->PlaceField(field, *cell);
}

void UI_JobNotesBrowser::ScrollingPass() {
    UInt32 top = 0, left = 0;
    if (GetDataBrowserScrollPosition(control, &top, &left) != noErr) return;
    if (scrollKnown && top == lastScrollTop && left == lastScrollLeft) return;
    scrolling = true;
    scrollKnown = true;
    lastScrollTop = top;
    lastScrollLeft = left;
    firstVisibleRow = static_cast<SInt32>(top / rowHeight) + 1;
    lastVisibleRow = firstVisibleRow + static_cast<SInt32>(visibleRows) - 1;
    if (lastVisibleRow > static_cast<SInt32>(rowCount))
        lastVisibleRow = static_cast<SInt32>(rowCount);
    if (currentField != nullptr) {
        currentField->Activate(false);
        currentField->Show(false);
    }
    SInt32 row = 1;
    for (LinkElement_Dual* at = editFields->Head(); at != nullptr; at = at->next, ++row) {
        static_cast<UI_EditControl*>(at)->Show(row >= firstVisibleRow && row <= lastVisibleRow);
    }
    RedrawList();
    scrolling = false;
}

void UI_JobNotesBrowser::RedrawList() {
    if (redrawing) return;
    redrawing = true;
    {
        PortClip clip(window, Inset(bounds, kClipInset));
        Draw1Control(control);
    }
    redrawing = false;
}

void UI_JobNotesBrowser::PlaceField(UI_EditControl* field, const Rect& cell) {
    if (!field->IsInitialized()) return;
    if (fieldOffset == 0) {
        fieldOffset = (static_cast<SInt32>(rowHeight) - field->Height() - 6) / 2;
        if (fieldOffset % 2 != 0) ++fieldOffset;
    }
    Rect placed;
    placed.left = cell.left;
    placed.top = static_cast<SInt16>(cell.top + fieldOffset);
    placed.bottom = static_cast<SInt16>(placed.top + field->Height());
    placed.right = static_cast<SInt16>(cell.right - kFieldRightMargin);
    Rect browserBounds;
    GetControlBounds(control, &browserBounds);
    const Rect visibleArea = Inset(browserBounds, kVisibleInset);
    {
        PortClip clip(window, Inset(bounds, kClipInset));
        field->setBoundsRect(placed);
        if (Encloses(visibleArea, placed)) {
            field->Show(true);
        } else {
            // A field cut by the list's edge is not offered: it could be typed into unseen.
            field->erase();
            field->Show(false);
        }
    }
    if (field == currentField && !setCurrentEditControl(field, false)) SysBeep(kStopBeep);
}
