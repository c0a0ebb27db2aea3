// The job-notes editor: a list with one row per job note, then one per range, each showing the
// entry's title and an inline text field holding its value. Every typed character is filtered by
// the field's rules, paste is refused, password fields are masked, and the focus (or a click on any
// other control of the dialog) cannot leave a field whose value breaks its rules. Refusals beep and
// show a message in the attached message area.
#ifndef HALYX_CORE_UI_UI_JOBNOTESBROWSER_H
#define HALYX_CORE_UI_UI_JOBNOTESBROWSER_H

#include "Core/ui/UI_DataBrowser.h"
#include "HIToolbox/Events.h"

class ORBJobNote;
class ORBJobNoteList;
class ORBRange;
class ORBRangeList;
class UI_EditControl;
class UI_EditControlList;
class UI_MessageBox;

class UI_JobNotesBrowser : public UI_DataBrowser {
public:
    // Column properties.
    static const DataBrowserPropertyID kSwitchColumn;  // 'onex'
    static const DataBrowserPropertyID kTitleColumn;   // 'twox'
    static const DataBrowserPropertyID kExtraColumn;   // 'thrx'
    static const DataBrowserPropertyID kValueColumn;   // 'foux'
    // A range field takes at most this many characters.
    static constexpr long kRangeFieldLimit = 32;
    // An enciphered note's hexadecimal text must fit the job's 255-digit field.
    static constexpr long kEncryptedNoteLimit = 119;

    // `bounds` receives the list's actual bounds (a whole number of rows plus 9 high).
    UI_JobNotesBrowser(WindowRef window, ControlRef parentPane, Rect* bounds,
                       ORBJobNoteList* jobNotes, ORBRangeList* ranges, bool visible, bool drawNow,
                       bool showSwitchColumn);
    ~UI_JobNotesBrowser() override;

    // A null job-note list answers 0 and makes nothing.
    OSStatus InitializeJobNotes(WindowRef window, ControlRef parentPane, Rect* bounds,
                                ORBJobNoteList* jobNotes, ORBRangeList* ranges, bool visible,
                                bool drawNow, bool showSwitchColumn);

    OSStatus AdjustBounds() override;
    OSStatus InitializeBrowserSettings() override;
    void InitializeOurBrowserCallbacks(DataBrowserCallbacks* callbacks) override;
    bool InitializeOurCustomBrowserCallbacks(DataBrowserCustomCallbacks* callbacks) override;
    OSStatus DefineDataBrowserCols() override;
    OSStatus InitializedDataBrowserRows() override;
    OSStatus DataBrowserHandler(DataBrowserPropertyID property, DataBrowserItemID item,
                                DataBrowserItemDataRef itemData, bool setValue,
                                bool* handled) override;
    bool ItemIsEditable(DataBrowserItemID, DataBrowserPropertyID) override { return false; }
    // Ends editing, resets every entry to its default and shows it.
    void SetToDefaults() override;

    virtual OSStatus RevertSettings() { return noErr; }
    // Commits every field to its entry; always true.
    virtual bool SaveSettings();
    virtual OSStatus RemoveDataBrowserCols();
    virtual OSStatus RemoveDataBrowserRows();
    virtual OSStatus InitializeCellValue(DataBrowserItemID item, DataBrowserItemDataRef itemData);
    virtual OSStatus UpdateCellValue(DataBrowserItemID, DataBrowserItemDataRef) { return noErr; }

    // Rebuilds columns and rows for new lists; paramErr when populated or the job-note list is
    // missing or invalid.
    OSStatus UpdateDataBrowserItems(ORBJobNoteList* jobNotes, ORBRangeList* ranges);
    // Deletes every field, row and column and forgets the lists, so that they may be deleted.
    OSStatus ResetDataBrowser();

    void AttachMessage_UI(UI_MessageBox* messageArea);
    void PostMessage(const char* text);
    void ClearMessage();

    // Moves the focus to `target` (null: nowhere) after checking the current field; false when
    // the current field breaks its rules (the focus stays) or the target is not enabled.
    bool setCurrentEditControl(UI_EditControl* target, bool checkOnly);

    UInt32 RowHeight() const { return rowHeight; }
    UInt32 VisibleRows() const { return visibleRows; }
    UInt32 RowCount() const { return rowCount; }
    bool IsPopulated() const { return populated; }
    UI_EditControl* CurrentField() const { return currentField; }
    const UI_EditControlList* Fields() const { return editFields; }
    ORBJobNoteList* JobNotes() const { return jobNotes; }
    ORBRangeList* Ranges() const { return ranges; }

private:
    enum CheckForm { kCheckReporting, kCheckSilent, kCheckEntry };

    static OSStatus KeyFilterHandler(EventHandlerCallRef call, EventRef event, void* userData);
    static OSStatus BrowserClickHandler(EventHandlerCallRef call, EventRef event, void* userData);
    static OSStatus WindowHandler(EventHandlerCallRef call, EventRef event, void* userData);
    static void DrawItemCallback(ControlRef browser, DataBrowserItemID item,
                                 DataBrowserPropertyID property, DataBrowserItemState state,
                                 const Rect* cell, SInt16 depth, Boolean colorDevice);

    // Typing.
    OSStatus FilterKey(UniChar c, UInt32 modifiers);
    bool JobNoteAccepts(const ORBJobNote* note, UI_EditControl* field, UniChar c);
    void JobNoteRefusal(const ORBJobNote* note, UniChar c, long count, char* message);
    bool RangeAccepts(const ORBRange* range, UI_EditControl* field, UniChar c);
    void RangeRefusal(const ORBRange* range, UniChar c, char* message);

    // Focus and clicks.
    void Tab(bool backward);
    void RevealRow(UI_EditControl* field);
    OSStatus ListClick(ControlRef clicked);
    OSStatus WindowEvent(EventRef event);
    UI_EditControl* FieldForControl(ControlRef control) const;

    // Checks and commits.
    bool CheckField(UI_EditControl* field, CheckForm form);
    bool ComposeCheckMessage(UI_EditControl* field, char* message);
    OSStatus UpdateEditControl(UI_EditControl* field);

    // Placing the fields as rows are drawn.
    void ScrollingPass();
    void PlaceField(UI_EditControl* field, const Rect& cell);
    void RedrawList();

    UInt32 rowHeight;
    UInt32 visibleRows;
    UI_EditControlList* editFields;
    ORBJobNoteList* jobNotes;
    ORBRangeList* ranges;
    EventHandlerUPP clickHandlerUPP;
    EventHandlerUPP keyFilterUPP;
    EventHandlerUPP windowHandlerUPP;
    DataBrowserDrawItemUPP drawItemUPP;
    EventHandlerRef clickHandlerRef;
    EventHandlerRef windowHandlerRef;
    UI_EditControl* currentField;
    UI_MessageBox* messageArea;
    SInt32 fieldOffset;
    UInt32 rowCount;
    UInt32 lastScrollTop;
    UInt32 lastScrollLeft;
    SInt32 firstVisibleRow;
    SInt32 lastVisibleRow;
    bool populated;
    bool invalidKey;
    bool scrolling;
    bool showSwitchColumn;
    bool redrawing;
    bool scrollKnown;
};

#endif  // HALYX_CORE_UI_UI_JOBNOTESBROWSER_H
