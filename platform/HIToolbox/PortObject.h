// Inside of a drawing port: its pen and text state and the record of what it drew.
#ifndef HALYX_PLATFORM_HITOOLBOX_PORTOBJECT_H
#define HALYX_PLATFORM_HITOOLBOX_PORTOBJECT_H

#include <deque>
#include <string>

#include "HIToolbox/PortRecording.h"

struct OpaqueGrafPtr {
    struct Entry {
        HalyxDrawing drawing;
        std::string text;
        bool hasText = false;
    };

    RGBColor foreColor = {0, 0, 0};
    SInt16 font = systemFont;
    SInt16 size = 0;
    Style face = normal;
    Rect clip = {-32767, -32767, 32767, 32767};
    ControlRef drawingControl = nullptr;  // the control whose drawing is under way
    std::deque<Entry> record;

    // Appends an entry with the port's current state; `text` may be null.
    void Append(HalyxDrawingKind kind, const Rect& rect, const char* text, long length);
};

struct OpaqueRgnHandle {
    Rect bounds = {0, 0, 0, 0};
};

namespace halyx_toolbox {
// Line height (ascent + descent + leading) of `font` at `size`.
SInt16 LineHeight(SInt16 font, SInt16 size);
}  // namespace halyx_toolbox

#endif  // HALYX_PLATFORM_HITOOLBOX_PORTOBJECT_H
