// How each kind of control looks in a picture, from its published state.
//
// A control's drawing in the record is one control entry (the control drew itself within a
// rectangle) followed by what it drew: its text, a frame. The control entry paints the control's
// body (fill, border, focus ring, rows, scroll bars); the texts and frames it drew are painted by
// PaintOwnedText and PaintOwnedFrame in the control's own colours.
#ifndef HALYX_PLATFORM_PICTURE_CONTROLLOOKS_H
#define HALYX_PLATFORM_PICTURE_CONTROLLOOKS_H

#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/PortRecording.h"
#include "Picture/PictureCanvas.h"

namespace halyx_picture {

// The window's background, and what erasing outside a control paints.
constexpr Colour kWindowBackground = {0xEC, 0xEC, 0xEC};

// True when the control is live and it and every control holding it are visible now.
bool IsShownNow(ControlRef control);

// The body of `drawing.control`, drawn at `drawing.rect` under `drawing.clip`.
void PaintControl(PictureCanvas& canvas, WindowRef window, const HalyxDrawing& drawing);
// A text drawn by `drawing.control` as part of itself (its field text, title or cell).
void PaintOwnedText(PictureCanvas& canvas, WindowRef window, const HalyxDrawing& drawing);
// A frame drawn by `drawing.control` as part of itself or by a callback inside it.
void PaintOwnedFrame(PictureCanvas& canvas, const HalyxDrawing& drawing);
// What erasing inside `owner` (or outside any control, for null) paints.
Colour EraseColour(ControlRef owner);

}  // namespace halyx_picture

#endif  // HALYX_PLATFORM_PICTURE_CONTROLLOOKS_H
