// Plain functions over the option model, for hosts that cannot call the classes (C included).
//
// Each function takes a model object as its first argument and forwards the rest to one member
// operation of that object, returning its result. A null object never reaches the model: the
// function then gives the answer noted with it (null, 0, false, or true for the emptiness tests
// and IsOrphan) and does nothing else.
//
// Objects are opaque pointers. The model uses single inheritance with every base at the start of
// the object, so a C host may pass any control where a PPDXControl* or PPDXElement* is asked for,
// and any group, roll-down, scroll pane or page where a PPDXElement* is asked for, by a plain cast.
// Texts are NUL-terminated and belong to the model; platform strings are not retained for the
// caller. PostScript follows the two-call protocol: a null buffer asks for the byte count, a
// buffer of that size is filled without a terminator.
#ifndef HALYX_PPDOBJECTS_HALYXPPDMODEL_H
#define HALYX_PPDOBJECTS_HALYXPPDMODEL_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "foundation/PPDXErrorFunctions.h"

#ifdef __cplusplus
class PPDXElement;
class PPDXControl;
class PPDXBooleanControl;
class PPDXRangeControl;
class PPDXPopupControl;
class PPDXJobNote;
class PPDXControls;
class PPDXShortcuts;
class PPDXGroup;
class PPDXGroups;
class PPDXRollDown;
class PPDXScrollPane;
class PPDXProperty;
class PPDXProperties;
enum CNTL_TYPE : UInt32;
extern "C" {
#else
#include <stdbool.h>
typedef struct PPDXElement PPDXElement;
typedef struct PPDXControl PPDXControl;
typedef struct PPDXBooleanControl PPDXBooleanControl;
typedef struct PPDXRangeControl PPDXRangeControl;
typedef struct PPDXPopupControl PPDXPopupControl;
typedef struct PPDXJobNote PPDXJobNote;
typedef struct PPDXControls PPDXControls;
typedef struct PPDXShortcuts PPDXShortcuts;
typedef struct PPDXGroup PPDXGroup;
typedef struct PPDXGroups PPDXGroups;
typedef struct PPDXRollDown PPDXRollDown;
typedef struct PPDXScrollPane PPDXScrollPane;
typedef struct PPDXProperty PPDXProperty;
typedef struct PPDXProperties PPDXProperties;
// The control kind, four bytes wide as in the model.
typedef UInt32 CNTL_TYPE;
enum { CNTL_JOBNOTE = 1, CNTL_RANGE = 2, CNTL_BOOLEAN = 3, CNTL_POPUP = 4, CNTL_SPECIAL = 5 };
#endif

// One choice of a popup as FirstItem and NextItem hand it out: the option keyword (or null) and
// the display name (not retained, or null). Both point into the model.
typedef struct PopupItemInfo {
    const char* keyword;
    CFStringRef displayName;
} PopupItemInfo;

// --- Elements: any page, group, roll-down, scroll pane or control ------------------------------

const char* Keyword(PPDXElement* element);     // null
const char* UserName(PPDXElement* element);    // null
bool IsVisible(PPDXElement* element);          // false
bool IsOrphan(PPDXElement* element);           // true
PPDXElement* GetParent(PPDXElement* element);  // null
// False when either is null, and when either has no keyword.
bool EqualsElement(PPDXElement* element, PPDXElement* other);
bool EqualsKeyWord(PPDXElement* element, const char* text);  // false

// Kind tests by run-time type; false for null.
bool IsRollDown(PPDXElement* element);
bool IsScrollPane(PPDXElement* element);
bool IsPropertyPage(PPDXElement* element);

// --- Controls: any kind ------------------------------------------------------------------------

UInt32 GetControlFlagCount(PPDXControl* control);                       // 0
const char* GetFirstControlFlag(PPDXControl* control);                  // null
const char* GetNextControlFlag(PPDXControl* control);                   // null
bool IsCommandControl(PPDXControl* control);                            // false
bool IsSpoolerControl(PPDXControl* control);                            // false
bool IsSetupControl(PPDXControl* control);                              // false
bool IsMacHJNControl(PPDXControl* control);                             // false
bool IsMacImgShiftControl(PPDXControl* control);                        // false
bool IsValidControlKeyword(PPDXControl* control, const char* keyword);  // false
SInt32 GetPostScript(PPDXControl* control, char* buffer);               // 0
void ResetControlToDefault(PPDXControl* control);

// --- Boolean controls --------------------------------------------------------------------------

bool IsTrue(PPDXBooleanControl* control);  // false
void SetValue(PPDXBooleanControl* control, bool value);
SInt32 BooleanPostScript(PPDXBooleanControl* control, char* buffer);  // 0
const char* TrueDisplayText(PPDXBooleanControl* control);             // null
const char* FalseDisplayText(PPDXBooleanControl* control);            // null
bool DefaultState(PPDXBooleanControl* control);                       // false

// --- Range controls (all 0 for null) -----------------------------------------------------------

SInt32 GetRangeValue(PPDXRangeControl* control);
SInt32 GetRangeMinimum(PPDXRangeControl* control);
SInt32 GetRangeMaximum(PPDXRangeControl* control);
SInt32 GetRangeIncrement(PPDXRangeControl* control);
SInt32 GetRangeDefaultVal(PPDXRangeControl* control);
void SetRangeValue(PPDXRangeControl* control, SInt32 value);
SInt32 RangePostScript(PPDXRangeControl* control, char* buffer);

// --- Popup controls ----------------------------------------------------------------------------

bool CanSelectMultipleItems(PPDXPopupControl* popup);                                 // false
const char* GetDefaultKeyword(PPDXPopupControl* popup);                               // null
const char* GetKeywordLocalName(PPDXPopupControl* popup, const char* keyword);        // null
SInt32 GetKeywordPSData(PPDXPopupControl* popup, const char* keyword, char* buffer);  // 0
bool IsKeywordSelected(PPDXPopupControl* popup, const char* keyword);                 // false
bool SetKeywordSelect(PPDXPopupControl* popup, const char* keyword, bool select);     // false
UInt32 PopupItemCount(PPDXPopupControl* popup);                                       // 0
// The popup's own item walk. The record (when not null) is cleared, then filled from the item;
// true when there was an item. False for a null popup, with the record cleared.
bool FirstItem(PPDXPopupControl* popup, PopupItemInfo* record);
bool NextItem(PPDXPopupControl* popup, PopupItemInfo* record);
SInt32 PopupPostScript(PPDXPopupControl* popup, char* buffer);  // 0
SInt32 GetPopupValue(PPDXPopupControl* popup);                  // 0
SInt32 GetPopupDefaultValue(PPDXPopupControl* popup);           // 0
void SetPopupValue(PPDXPopupControl* popup, SInt32 position);

// --- Control collections -----------------------------------------------------------------------

UInt32 GetControlCount(PPDXControls* controls);  // 0
UInt32 GetPopupCount(PPDXControls* controls);    // 0
UInt32 GetBooleanCount(PPDXControls* controls);  // 0
UInt32 GetRangeCount(PPDXControls* controls);    // 0
UInt32 GetJobnoteCount(PPDXControls* controls);  // 0
// `type` (may be null) receives the kind of the control found.
PPDXControl* Find(PPDXControls* controls, const char* keyword, CNTL_TYPE* type, bool exact);
PPDXControl* GetFirst(PPDXControls* controls, CNTL_TYPE* type);  // null
PPDXControl* GetNext(PPDXControls* controls, CNTL_TYPE* type);   // null
PPDXPopupControl* GetFirstPopupControl(PPDXControls* controls);
PPDXPopupControl* GetNextPopupControl(PPDXControls* controls);
PPDXBooleanControl* GetFirstBooleanControl(PPDXControls* controls);
PPDXBooleanControl* GetNextBooleanControl(PPDXControls* controls);
PPDXRangeControl* GetFirstRangeControl(PPDXControls* controls);
PPDXRangeControl* GetNextRangeControl(PPDXControls* controls);
PPDXJobNote* GetFirstJobNote(PPDXControls* controls);
PPDXJobNote* GetNextJobNote(PPDXControls* controls);
PPDXPopupControl* GetFindPopup(PPDXControls* controls, const char* keyword, bool exact);
PPDXBooleanControl* GetFindBoolean(PPDXControls* controls, const char* keyword, bool exact);
PPDXRangeControl* GetFindRangeControl(PPDXControls* controls, const char* keyword, bool exact);
PPDXJobNote* GetFindJobNote(PPDXControls* controls, const char* keyword, bool exact);
bool GetEmpty(PPDXControls* controls);              // true
bool GetNoPopups(PPDXControls* controls);           // true
bool GetNoBooleanControls(PPDXControls* controls);  // true
bool GetNoRangeControls(PPDXControls* controls);    // true
bool GetNoJobNotes(PPDXControls* controls);         // true

// --- Shortcuts (null answers: true for the emptiness test, 0, null) ----------------------------

bool IsShortcutsListEmpty(PPDXShortcuts* shortcuts);
UInt32 GetShortcutCount(PPDXShortcuts* shortcuts);
PPDXPopupControl* GetPageSizeShortcut(PPDXShortcuts* shortcuts);
PPDXPopupControl* GetInputSlotShortcut(PPDXShortcuts* shortcuts);
PPDXPopupControl* GetDuplexShortcut(PPDXShortcuts* shortcuts);
PPDXPopupControl* GetOrientationShortcut(PPDXShortcuts* shortcuts);
PPDXPopupControl* GetHuemarkShortcut(PPDXShortcuts* shortcuts);
PPDXPopupControl* GetMediaSourceShortcut(PPDXShortcuts* shortcuts);
PPDXPopupControl* FindShortcut(PPDXShortcuts* shortcuts, const char* keyword, bool exact);
PPDXPopupControl* FirstShortcut(PPDXShortcuts* shortcuts);
PPDXPopupControl* NextShortcut(PPDXShortcuts* shortcuts);

// --- Groups, roll-downs and scroll panes (null answers: null, true, 0) -------------------------

PPDXGroup* FirstGroup(PPDXGroups* groups);
PPDXGroup* NextGroup(PPDXGroups* groups);
PPDXGroup* FindGroup(PPDXGroups* groups, const char* keyword, bool exact);
bool IsGrouPointerListEmpty(PPDXGroups* groups);
UInt32 GroupCount(PPDXGroups* groups);
PPDXControls* GetRollDownControlList(PPDXRollDown* rollDown);
PPDXGroups* GetScrollPaneRollDowns(PPDXScrollPane* pane);

// --- Property pages (null answers: null, true, 0, false) ---------------------------------------

PPDXProperty* FirstProperty(PPDXProperties* pages);
PPDXProperty* NextProperty(PPDXProperties* pages);
PPDXProperty* FindProperty(PPDXProperties* pages, const char* keyword, bool exact);
bool IsPropertyListEmpty(PPDXProperties* pages);
UInt32 PropertyCount(PPDXProperties* pages);
bool ShowPropInPrintProp(PPDXProperty* page);
bool ShowPropInApp(PPDXProperty* page);
PPDXScrollPane* GetPropertyScrollDown(PPDXProperty* page);
// Does nothing when either is null.
void SetPropertyScrollDown(PPDXProperty* page, PPDXScrollPane* pane);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PPDOBJECTS_HALYXPPDMODEL_H
