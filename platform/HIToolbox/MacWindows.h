// Windows: a content area with a root control, a drawing port and a keyboard focus.
//
// Coordinates are the window's own: the content area runs from (0, 0) to the size of the bounds
// given at creation. Every control created in a window is embedded in its root control unless it is
// embedded elsewhere later. A window is drawn when it is shown and after every input event
// delivered to it (HalyxInput.h); drawing walks the visible controls in embedding order.
#ifndef HALYX_PLATFORM_HITOOLBOX_MACWINDOWS_H
#define HALYX_PLATFORM_HITOOLBOX_MACWINDOWS_H

#include "HIToolbox/Quickdraw.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueWindowPtr* WindowRef;
typedef struct OpaqueControlRef* ControlRef;
typedef UInt32 WindowClass;
typedef UInt32 WindowAttributes;

enum { kDocumentWindowClass = 6, kMovableModalWindowClass = 4, kSheetWindowClass = 11 };
enum { kWindowNoAttributes = 0, kWindowStandardHandlerAttribute = 1u << 25 };

// Makes a hidden window whose content has the size of `bounds`. noErr; paramErr for a null
// `bounds` or `outWindow`; memFullErr when memory runs out (*outWindow is then NULL).
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* bounds,
                         WindowRef* outWindow);
// Disposes every control of the window, its handlers and its port. Unknown windows are ignored.
// A window must not be disposed by a callback that runs while the window is being drawn.
void DisposeWindow(WindowRef window);
// Shows the window and draws it.
void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
Boolean IsWindowVisible(WindowRef window);

CGrafPtr GetWindowPort(WindowRef window);  // NULL for an unknown window
void SetPortWindowPort(WindowRef window);

// The root control that holds the window's controls. errInvalidWindowRef for an unknown window.
OSErr GetRootControl(WindowRef window, ControlRef* outControl);

// Draws the whole window now (nothing when it is hidden).
void HalyxDrawWindow(WindowRef window);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_MACWINDOWS_H
