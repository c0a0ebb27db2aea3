// Inside of a control: the embedding tree, state, edit-text contents and, for a data browser, its
// rows and columns. Also the registry of live windows and controls that lets every call reject a
// pointer that is not (or no longer) one of ours.
#ifndef HALYX_PLATFORM_HITOOLBOX_CONTROLOBJECT_H
#define HALYX_PLATFORM_HITOOLBOX_CONTROLOBJECT_H

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/DataBrowser.h"
#include "HIToolbox/EventObjects.h"

struct OpaqueWindowPtr;

namespace halyx_toolbox {

enum class ControlKind { kUserPane, kEditText, kPlacard, kPushButton, kDataBrowser };

struct BrowserColumn {
    DataBrowserPropertyID property = 0;
    DataBrowserPropertyType type = 0;
    DataBrowserPropertyFlags flags = 0;
    UInt16 minimumWidth = 0;
    UInt16 maximumWidth = 0;
    UInt16 width = 0;
};

struct BrowserState {
    std::vector<BrowserColumn> columns;
    std::vector<DataBrowserItemID> items;        // row order
    std::unordered_set<DataBrowserItemID> rows;  // the same items, to be found without a search
    std::vector<DataBrowserItemID> selected;
    UInt16 rowHeight = 18;
    UInt16 headerHeight = 17;
    UInt32 scrollTop = 0;
    UInt32 scrollLeft = 0;
    Boolean hasHorizontalBar = true;
    Boolean hasVerticalBar = true;
    DataBrowserSortOrder sortOrder = kDataBrowserOrderIncreasing;
    DataBrowserSelectionFlags selectionFlags = 0;
    DataBrowserTableViewHiliteStyle hiliteStyle = kDataBrowserTableViewFillHilite;
    Boolean plainBackground = false;
    DataBrowserCallbacks callbacks = {};
    DataBrowserCustomCallbacks customCallbacks = {};

    long RowOf(DataBrowserItemID item) const;  // -1 when not a row
    const BrowserColumn* Column(DataBrowserPropertyID property) const;
    UInt32 TotalColumnWidth() const;
};

}  // namespace halyx_toolbox

struct OpaqueControlRef {
    halyx_toolbox::ControlKind kind = halyx_toolbox::ControlKind::kUserPane;
    OpaqueWindowPtr* window = nullptr;
    OpaqueControlRef* parent = nullptr;
    std::vector<OpaqueControlRef*> children;  // embedding order
    Rect bounds = {0, 0, 0, 0};
    bool visible = true;
    bool active = true;
    SInt16 hilite = kControlNoPart;
    SInt16 value = 0;
    SInt16 minimum = 0;
    SInt16 maximum = 0;
    SRefCon reference = nullptr;
    UInt32 commandID = 0;
    ControlFontStyleRec fontStyle = {};
    // Edit text: the real characters, the selection in characters; push button: the title.
    std::vector<UniChar> text;
    bool password = false;
    SInt16 selStart = 0;
    SInt16 selEnd = 0;
    OpaqueEventTargetRef target;
    std::unique_ptr<halyx_toolbox::BrowserState> browser;

    bool Embeds() const {
        return kind == halyx_toolbox::ControlKind::kUserPane ||
               kind == halyx_toolbox::ControlKind::kDataBrowser;
    }
    bool Enabled() const { return hilite != kControlDisabledPart; }
};

namespace halyx_toolbox {

bool IsLiveControl(ControlRef control);
bool IsLiveWindow(WindowRef window);
void RegisterControl(ControlRef control);
void UnregisterControl(ControlRef control);
void RegisterWindow(WindowRef window);
void UnregisterWindow(WindowRef window);

// Makes a control of `kind` in `window`, embedded in its root (when the window has one). NULL when
// memory runs out.
ControlRef MakeControl(WindowRef window, ControlKind kind, const Rect& bounds);
// Frees a control and its subtree without unlinking it from its parent.
void DestroyControlTree(ControlRef control);
// True when the control and all its containers are visible.
bool IsShown(ControlRef control);
// Draws a control and what it holds into the current port.
void DrawControlTree(ControlRef control);
// Records `text` drawn in `rect` in the control's own font (its font style record; the system font
// at the default size where the record sets none).
void AppendControlText(GrafPtr port, ControlRef control, const Rect& rect, const std::string& text);
// Whether the control can take the keyboard focus now.
bool CanTakeFocus(ControlRef control);

// Edit text helpers: text as system-encoded bytes and back; control characters are dropped.
std::vector<UniChar> CharactersFromString(CFStringRef text);
std::vector<UniChar> CharactersFromSystemBytes(const void* bytes, long length);
std::vector<UniChar> CharactersFromUTF8(const char* text);
std::string SystemBytesFromCharacters(const std::vector<UniChar>& chars);
void ReplaceSelection(ControlRef control, const std::vector<UniChar>& chars);
void SetEditText(ControlRef control, std::vector<UniChar> chars);
// The characters an edit text shows: the text itself, or one bullet per character.
std::vector<UniChar> ShownCharacters(ControlRef control);

// The edit text's default handling of a typed character: noErr when it used it.
OSStatus EditTextKey(ControlRef control, UniChar c, UInt32 modifiers);
// A click puts the caret at the clicked character; with `extend` it moves the selection's far end
// there instead, keeping its start.
void EditTextClick(ControlRef control, Point where, bool extend);

// Data browser helpers.
Rect BrowserView(ControlRef browser);
void DrawBrowser(ControlRef browser);
void BrowserClick(ControlRef browser, Point where);
void SelectBrowserItem(ControlRef browser, DataBrowserItemID item);
void ClampBrowserScroll(ControlRef browser);
BrowserState* BrowserOf(ControlRef control, OSStatus* status);

}  // namespace halyx_toolbox

#endif  // HALYX_PLATFORM_HITOOLBOX_CONTROLOBJECT_H
