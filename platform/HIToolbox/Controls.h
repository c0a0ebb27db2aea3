// Controls: the embedding tree, bounds, visibility, activation, highlight, values, references,
// command ids, tagged data and the keyboard focus.
//
// Every function accepts any pointer: a control that does not exist (never made, or disposed) is
// answered with errUnknownControl, or ignored by the functions that return nothing.
#ifndef HALYX_PLATFORM_HITOOLBOX_CONTROLS_H
#define HALYX_PLATFORM_HITOOLBOX_CONTROLS_H

#include "HIToolbox/MacWindows.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef SInt16 ControlPartCode;
typedef SInt16 ControlFocusPart;
typedef void* SRefCon;

enum {
    kControlNoPart = 0,
    kControlEntireControl = 0,
    kControlEditTextPart = 5,
    kControlButtonPart = 10,
    kControlInactivePart = 254,  // highlight of an inactive control
    kControlDisabledPart = 255,  // highlight of a disabled control
};
enum { kControlFocusNoPart = 0, kControlFocusNextPart = -1, kControlFocusPrevPart = -2 };

// --- Embedding
// ------------------------------------------------------------------------------------- Moves
// `control` into `container`, which must be in the same window. errCantEmbedIntoSelf when
// `container` is the control or lies inside it; errControlIsNotEmbedder for a container that holds
// no controls (edit text, placard, push button).
OSErr EmbedControl(ControlRef control, ControlRef container);
OSErr GetSuperControl(ControlRef control, ControlRef* outParent);
WindowRef GetControlOwner(ControlRef control);
// Disposes the control and every control embedded in it, with their handlers. The keyboard focus
// leaves a disposed control.
void DisposeControl(ControlRef control);

// --- Geometry and state
// ----------------------------------------------------------------------------
Rect* GetControlBounds(ControlRef control, Rect* bounds);
void SetControlBounds(ControlRef control, const Rect* bounds);
void MoveControl(ControlRef control, SInt16 h, SInt16 v);  // keeps the size
// A control is shown only when it and all its containers are visible.
OSErr SetControlVisibility(ControlRef control, Boolean visible, Boolean doDraw);
Boolean IsControlVisible(ControlRef control);  // the control's own flag
OSErr ActivateControl(ControlRef control);
OSErr DeactivateControl(ControlRef control);
Boolean IsControlActive(ControlRef control);
void HiliteControl(ControlRef control, ControlPartCode part);  // 255 disables the control
ControlPartCode GetControlHilite(ControlRef control);
// Draws the control and what it holds into its window's port now.
void Draw1Control(ControlRef control);

// --- Values
// ------------------------------------------------------------------------------------------
SInt16 GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, SInt16 value);  // clamped to minimum..maximum
SInt16 GetControlMinimum(ControlRef control);
void SetControlMinimum(ControlRef control, SInt16 minimum);
SInt16 GetControlMaximum(ControlRef control);
void SetControlMaximum(ControlRef control, SInt16 maximum);

void SetControlReference(ControlRef control, SRefCon data);
SRefCon GetControlReference(ControlRef control);  // NULL for an unknown control
OSStatus SetControlCommandID(ControlRef control, UInt32 commandID);
OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID);

// --- Tagged data (tags and records in ControlDefinitions.h)
// -----------------------------------------
typedef FourCharCode ResTypeTag;
// Copies the data under `tag` into `buffer` (at most `bufferSize` bytes; a NULL buffer only
// measures) and its full size into *actualSize. errDataNotSupported for a tag the control does
// not keep; errDataSizeMismatch when a fixed-size record does not fit.
OSErr GetControlData(ControlRef control, ControlPartCode part, ResType tag, Size bufferSize,
                     void* buffer, Size* actualSize);
OSErr GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size* outSize);
OSErr SetControlData(ControlRef control, ControlPartCode part, ResType tag, Size size,
                     const void* data);

// --- Keyboard focus
// -------------------------------------------------------------------------------- Only a visible,
// active and enabled edit text takes the focus. A part of kControlFocusNoPart clears the focus.
// errCouldntSetFocus for a control that is hidden, inactive or disabled;
// errControlDoesntSupportFocus for one that never takes it.
OSErr SetKeyboardFocus(WindowRef window, ControlRef control, ControlFocusPart part);
OSErr GetKeyboardFocus(WindowRef window, ControlRef* outControl);  // NULL when none
OSErr ClearKeyboardFocus(WindowRef window);
// Moves the focus to the next (previous) control that can take it, in embedding order, wrapping
// around; with no focus, to the first (last) one. noErr also when none can take it.
OSErr AdvanceKeyboardFocus(WindowRef window);
OSErr ReverseKeyboardFocus(WindowRef window);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_CONTROLS_H
