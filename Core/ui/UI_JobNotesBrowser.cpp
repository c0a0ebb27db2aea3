// The editor's construction, settings, rows, cell data, reset and message area.
#include "Core/ui/UI_JobNotesBrowser.h"

#include <new>

#include "Core/ORBJobNoteList.h"
#include "Core/ORBRangeList.h"
#include "Core/ui/EditorEntries.h"
#include "Core/ui/UI_EditControlList.h"
#include "Core/ui/UI_MessageBox.h"

using halyx_editor::kEntryTextSize;

const DataBrowserPropertyID UI_JobNotesBrowser::kSwitchColumn = HALYX_FOUR_CHAR('o', 'n', 'e', 'x');
const DataBrowserPropertyID UI_JobNotesBrowser::kTitleColumn = HALYX_FOUR_CHAR('t', 'w', 'o', 'x');
const DataBrowserPropertyID UI_JobNotesBrowser::kExtraColumn = HALYX_FOUR_CHAR('t', 'h', 'r', 'x');
const DataBrowserPropertyID UI_JobNotesBrowser::kValueColumn = HALYX_FOUR_CHAR('f', 'o', 'u', 'x');

namespace {

constexpr UInt32 kInitialRowHeight = 64;
constexpr UInt32 kInitialVisibleRows = 4;
// Title cells give the new field its first place: the row less these pixels at the bottom.
constexpr SInt16 kFieldCellTrim = 3;

const EventTypeSpec kClickEvents[] = {{kEventClassCommand, kEventCommandProcess},
                                      {kEventClassControl, kEventControlClick}};
const EventTypeSpec kFieldEvents[] = {{kEventClassTextInput, kEventTextInputUnicodeForKeyEvent},
                                      {kEventClassCommand, kEventCommandProcess}};

CFStringRef StringFromSystemText(const char* text) {
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingMacRoman);
}

}  // namespace

UI_JobNotesBrowser::UI_JobNotesBrowser(WindowRef inWindow, ControlRef parentPane, Rect* inBounds,
                                       ORBJobNoteList* inJobNotes, ORBRangeList* inRanges,
                                       bool visible, bool drawNow, bool inShowSwitchColumn)
    : rowHeight(kInitialRowHeight),
      visibleRows(kInitialVisibleRows),
      editFields(nullptr),
      jobNotes(nullptr),
      ranges(nullptr),
      clickHandlerUPP(nullptr),
      keyFilterUPP(nullptr),
      windowHandlerUPP(nullptr),
      drawItemUPP(nullptr),
      clickHandlerRef(nullptr),
      windowHandlerRef(nullptr),
      currentField(nullptr),
      messageArea(nullptr),
      fieldOffset(0),
      rowCount(0),
      lastScrollTop(0),
      lastScrollLeft(0),
      firstVisibleRow(-1),
      lastVisibleRow(-1),
      populated(false),
      invalidKey(false),
      scrolling(false),
      showSwitchColumn(false),
      redrawing(false),
      scrollKnown(false) {
    InitializeJobNotes(inWindow, parentPane, inBounds, inJobNotes, inRanges, visible, drawNow,
                       inShowSwitchColumn);
}

UI_JobNotesBrowser::~UI_JobNotesBrowser() {
    if (clickHandlerRef != nullptr) RemoveEventHandler(clickHandlerRef);
    if (windowHandlerRef != nullptr) RemoveEventHandler(windowHandlerRef);
    if (clickHandlerUPP != nullptr) DisposeEventHandlerUPP(clickHandlerUPP);
    if (keyFilterUPP != nullptr) DisposeEventHandlerUPP(keyFilterUPP);
    if (windowHandlerUPP != nullptr) DisposeEventHandlerUPP(windowHandlerUPP);
    if (drawItemUPP != nullptr) DisposeDataBrowserDrawItemUPP(drawItemUPP);
    currentField = nullptr;
    delete editFields;
    editFields = nullptr;
}

OSStatus UI_JobNotesBrowser::InitializeJobNotes(WindowRef inWindow, ControlRef parentPane,
                                                Rect* inBounds, ORBJobNoteList* inJobNotes,
                                                ORBRangeList* inRanges, bool visible, bool drawNow,
                                                bool inShowSwitchColumn) {
    if (inJobNotes == nullptr) return noErr;
    jobNotes = inJobNotes;
    ranges = inRanges;
    showSwitchColumn = inShowSwitchColumn;
    const OSStatus status = InitializeDataBrowser(inWindow, parentPane, inBounds, visible, drawNow);
    if (status == noErr) populated = true;
    return status;
}

OSStatus UI_JobNotesBrowser::InitializeBrowserSettings() {
    SetControlReference(control, static_cast<UI_DataBrowser*>(this));
    AdvanceKeyboardFocus(window);
    OSStatus status = SetDataBrowserHasScrollBars(control, false, true);
    if (status == noErr) status = SetDataBrowserSortOrder(control, kDataBrowserOrderIncreasing);
    if (status == noErr) status = SetDataBrowserSelectionFlags(control, kDataBrowserSelectOnlyOne);
    if (status == noErr) status = SetDataBrowserListViewUsePlainBackground(control, true);
    if (status != noErr) return status;
    clickHandlerUPP = NewEventHandlerUPP(BrowserClickHandler);
    windowHandlerUPP = NewEventHandlerUPP(WindowHandler);
    keyFilterUPP = NewEventHandlerUPP(KeyFilterHandler);
    status = InstallControlEventHandler(control, clickHandlerUPP, 2, kClickEvents, this,
                                        &clickHandlerRef);
    if (status != noErr) return status;
    return InstallWindowEventHandler(window, windowHandlerUPP, 2, kClickEvents, this,
                                     &windowHandlerRef);
}

void UI_JobNotesBrowser::InitializeOurBrowserCallbacks(DataBrowserCallbacks*) {}

bool UI_JobNotesBrowser::InitializeOurCustomBrowserCallbacks(DataBrowserCustomCallbacks* custom) {
    if (drawItemUPP == nullptr) drawItemUPP = NewDataBrowserDrawItemUPP(DrawItemCallback);
    custom->u.v1.drawItemCallback = drawItemUPP;
    return true;
}

OSStatus UI_JobNotesBrowser::InitializedDataBrowserRows() {
    editFields = new (std::nothrow) UI_EditControlList();
    if (editFields == nullptr) return memFullErr;
    for (LinkElement_Dual* at = jobNotes != nullptr ? jobNotes->Head() : nullptr; at != nullptr;
         at = at->next) {
        UI_EditControl* field = new (std::nothrow) UI_EditControl(window, control, at);
        if (field == nullptr) break;
        const DataBrowserItemID id = reinterpret_cast<DataBrowserItemID>(field);
        if (AddDataBrowserItems(control, kDataBrowserNoItem, 1, &id, kTitleColumn) != noErr) {
            delete field;
            break;
        }
        editFields->add(field);
        ++rowCount;
    }
    for (LinkElement_Dual* at = ranges != nullptr ? ranges->Head() : nullptr; at != nullptr;
         at = at->next) {
        UI_EditControl* field = new (std::nothrow) UI_EditControl(window, control, at);
        if (field == nullptr) continue;
        const DataBrowserItemID id = reinterpret_cast<DataBrowserItemID>(field);
        if (AddDataBrowserItems(control, kDataBrowserNoItem, 1, &id, kTitleColumn) != noErr) {
            delete field;
            continue;
        }
        editFields->add(field);
        ++rowCount;
    }
    return SetDataBrowserTableViewRowHeight(control, static_cast<UInt16>(rowHeight));
}

OSStatus UI_JobNotesBrowser::DataBrowserHandler(DataBrowserPropertyID property,
                                                DataBrowserItemID item,
                                                DataBrowserItemDataRef itemData, bool setValue,
                                                bool* handled) {
    *handled = false;
    if (property != kTitleColumn && property != kSwitchColumn && property != kExtraColumn) {
        return noErr;
    }
    *handled = true;
    return setValue ? UpdateCellValue(item, itemData) : InitializeCellValue(item, itemData);
}

OSStatus UI_JobNotesBrowser::InitializeCellValue(DataBrowserItemID item,
                                                 DataBrowserItemDataRef itemData) {
    UI_EditControl* field = reinterpret_cast<UI_EditControl*>(item);
    if (editFields == nullptr || !editFields->Contains(field)) return errDataBrowserItemNotFound;
    LinkElement_Dual* entry = field->Item();
    char text[kEntryTextSize];
    halyx_editor::TitleOf(entry, text);
    CFStringRef title = StringFromSystemText(text);
    const OSStatus status = SetDataBrowserItemDataText(itemData, title);
    if (title != nullptr) CFRelease(title);
    if (field->IsInitialized()) return status;

    ORBJobNote* note = halyx_editor::NoteOf(entry);
    ORBRange* range = halyx_editor::RangeOf(entry);
    const bool password = note != nullptr && halyx_editor::IsPasswordNote(note);
    Rect cell;
    if (GetDataBrowserItemPartBounds(control, item, kTitleColumn, kDataBrowserPropertyEnclosingPart,
                                     &cell) != noErr) {
        return status;
    }
    cell.bottom = static_cast<SInt16>(cell.top + rowHeight - kFieldCellTrim);
    text[0] = '\0';
    if (note != nullptr) note->getUserData(text);
    if (range != nullptr) range->getUserData(text);
    if (field->Initialize(cell, text, true, true, password) != noErr) return status;
    field->InstallEditControlEventHandler(kFieldEvents, 2, keyFilterUPP, this);
    field->Activate(false);
    field->Enable(true);
    return status;
}

OSStatus UI_JobNotesBrowser::UpdateDataBrowserItems(ORBJobNoteList* inJobNotes,
                                                    ORBRangeList* inRanges) {
    if (populated || inJobNotes == nullptr || !inJobNotes->Valid() || control == nullptr) {
        return paramErr;
    }
    jobNotes = inJobNotes;
    ranges = inRanges;
    OSStatus status = DefineDataBrowserCols();
    if (status != noErr) return status;
    InitializedDataBrowserRows();
    populated = true;
    return noErr;
}

OSStatus UI_JobNotesBrowser::RemoveDataBrowserRows() {
    if (control == nullptr) return noErr;
    return RemoveDataBrowserItems(control, kDataBrowserNoItem, 0, nullptr, kTitleColumn);
}

OSStatus UI_JobNotesBrowser::RemoveDataBrowserCols() {
    if (control == nullptr) return noErr;
    RemoveDataBrowserTableViewColumn(control, kSwitchColumn);
    RemoveDataBrowserTableViewColumn(control, kTitleColumn);
    RemoveDataBrowserTableViewColumn(control, kValueColumn);
    return noErr;
}

OSStatus UI_JobNotesBrowser::ResetDataBrowser() {
    // The rows go first so that nothing asks for a field while the fields are deleted.
    currentField = nullptr;
    RemoveDataBrowserRows();
    delete editFields;
    editFields = nullptr;
    populated = false;
    RemoveDataBrowserCols();
    rowCount = 0;
    scrollKnown = false;
    firstVisibleRow = lastVisibleRow = -1;
    jobNotes = nullptr;
    ranges = nullptr;
    return noErr;
}

void UI_JobNotesBrowser::AttachMessage_UI(UI_MessageBox* area) {
    messageArea = area;
    if (messageArea != nullptr) messageArea->draw();
}

void UI_JobNotesBrowser::PostMessage(const char* text) {
    if (messageArea != nullptr) messageArea->post(text);
}

void UI_JobNotesBrowser::ClearMessage() {
    if (messageArea != nullptr) messageArea->clear();
}
