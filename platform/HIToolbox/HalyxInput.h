// Input as a person gives it: keys, clicks, commands and scrolling, delivered as real events
// (Events.h) and followed by drawing the window (when it is shown), as the event loop does
// after each input.
//
// A key press goes to the window's keyboard focus (the window when nothing has it): first a raw key
// event (kEventClassKeyboard / kEventRawKeyDown), then, unless that was handled, a text-input event
// (kEventClassTextInput / kEventTextInputUnicodeForKeyEvent) carrying the character as
// kEventParamTextInputSendText (typeUnicodeText) and the raw key event as
// kEventParamTextInputSendKeyboardEvent. While it is delivered GetCurrentKeyModifiers() answers the
// modifiers. Defaults when no handler takes the text-input event:
//   - edit text: a printable character replaces the selection; backspace (8) deletes the selection
//     or the character before the caret, forward delete (0x7F) the one after it; the left and right
//     arrows (28, 29) move the caret, up and down (30, 31) move it to the start and the end. Other
//     control characters, and characters typed with the Command key, are never inserted.
//   - the window: Tab (9) moves the keyboard focus forward, Shift-Tab backward; Command-V sends the
//     command 'past' to the focus.
// A click is hit-tested to the deepest visible control under the point and sent to it as
// kEventClassControl / kEventControlClick with the control as kEventParamDirectObject, the point
// and the modifiers. Defaults: an edit text takes the focus and puts the caret at the clicked
// character (with Shift, when it already has the keys, extends the selection to it instead); a
// push button sends its command to itself (so it travels up to the window and the
// application) with the button as the command's source; a data browser selects the clicked row.
// A command ('ok  ', 'past', ...) is sent as kEventClassCommand / kEventCommandProcess with an
// HICommandExtended. Defaults in an edit text: 'past' inserts the scrap text, 'sall' selects the
// whole text.
#ifndef HALYX_PLATFORM_HITOOLBOX_HALYXINPUT_H
#define HALYX_PLATFORM_HITOOLBOX_HALYXINPUT_H

#include "HIToolbox/Events.h"

#ifdef __cplusplus
extern "C" {
#endif

// Each returns the status of the event's delivery: the status of the handler or default that took
// it, or eventNotHandledErr. errInvalidWindowRef / errUnknownControl for unknown objects.

// One key press of `charCode` with `modifiers` (cmdKey, shiftKey, ...).
OSStatus HalyxPressKey(WindowRef window, UniChar charCode, UInt32 modifiers);
OSStatus HalyxPressTab(WindowRef window, Boolean shift);
// Types UTF-8 `text` one key press per character; stops at the first press that fails with
// something other than eventNotHandledErr. Bytes that are not UTF-8 are typed as U+FFFD.
OSStatus HalyxTypeText(WindowRef window, const char* text);
// A click at `where` (window coordinates). eventNotHandledErr when no control is under it.
OSStatus HalyxClickPoint(WindowRef window, Point where, UInt32 modifiers);
// A click at the centre of `control`, delivered to that control whatever lies above it;
// eventNotHandledErr, and no event, when the control is hidden.
OSStatus HalyxClickControl(ControlRef control, UInt32 modifiers);
// Sends `commandID` to the window's focus (the window when nothing has it). When a control of the
// window carries that command id it is named as the command's source.
OSStatus HalyxSendCommand(WindowRef window, UInt32 commandID);
// Scrolls a data browser by `deltaV` pixels down (negative: up), kept within the list, then draws.
OSStatus HalyxScrollBrowser(ControlRef browser, SInt32 deltaV);

// The process's scrap, which an edit text pastes: UTF-8 text (NULL empties it).
void HalyxSetScrapText(const char* text);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_HALYXINPUT_H
