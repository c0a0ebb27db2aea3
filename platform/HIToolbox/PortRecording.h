// What a port has drawn: the record that stands in for a screen.
//
// Every drawing call on a port appends one entry: erasing and framing a rectangle, text drawn in a
// box (by TETextBox, by a data browser's text cell, or by an edit field or button drawing its
// text), and each control drawing itself. An entry keeps the port's colour, font, size, face and
// clip at the time it was drawn. The record keeps the most recent kHalyxPortRecordLimit entries.
#ifndef HALYX_PLATFORM_HITOOLBOX_PORTRECORDING_H
#define HALYX_PLATFORM_HITOOLBOX_PORTRECORDING_H

#include "HIToolbox/Quickdraw.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueControlRef* ControlRef;

enum { kHalyxPortRecordLimit = 65536 };

typedef enum HalyxDrawingKind {
    kHalyxDrawErase = 0,    // EraseRect
    kHalyxDrawFrame = 1,    // FrameRect
    kHalyxDrawText = 2,     // text laid out in `rect`
    kHalyxDrawControl = 3,  // `control` drew itself within `rect`
} HalyxDrawingKind;

typedef struct HalyxDrawing {
    HalyxDrawingKind kind;
    Rect rect;
    Rect clip;  // the port's clip rectangle when it was drawn
    RGBColor foreColor;
    SInt16 font;
    SInt16 size;
    Style face;
    ControlRef control;  // the control being drawn, or NULL outside control drawing
    const char* text;    // text entries: system-encoded bytes, NUL-terminated; NULL otherwise
    long textLength;
} HalyxDrawing;

// Number of entries in the port's record (0 for a null port).
UInt32 HalyxPortDrawingCount(GrafPtr port);
// Copies entry `index` (0 = oldest kept). False when out of range. The text pointer stays valid
// until the record is cleared or the port is disposed.
Boolean HalyxPortGetDrawing(GrafPtr port, UInt32 index, HalyxDrawing* out);
void HalyxPortClearDrawings(GrafPtr port);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_PORTRECORDING_H
