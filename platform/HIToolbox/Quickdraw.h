// Rectangles, points, colours, drawing ports, clip regions and the fixed font metrics.
//
// There is no screen. Each window owns a port, and every drawing call made on the current port is
// appended to that port's record (see PortRecording.h), so tests and hosts can see what was drawn,
// where, in which font and colour, and under which clip. With no current port drawing calls do
// nothing.
//
// Fonts are deterministic so that layouts computed from them are the same on every machine. Every
// font id has the same metrics; only the size matters (size 0 means 12):
//
//     ascent  = size - 1
//     descent = (size + 3) / 4          (integer division)
//     leading = (size + 3) / 8
//     widMax  = (size + 1) / 2
//
//     size  9: 8 + 3 + 1 = 12          size 12: 11 + 3 + 1 = 15          size 13: 12 + 4 + 2 = 18
//
// so a line of the system font at size 13 is 18 pixels high. Every character advances by
// (size + 1) / 2 pixels whatever the face: 5 at size 9, 6 at size 12, 7 at size 13. A test may
// replace the metrics of one font and size with HalyxOverrideFontInfo.
#ifndef HALYX_PLATFORM_HITOOLBOX_QUICKDRAW_H
#define HALYX_PLATFORM_HITOOLBOX_QUICKDRAW_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Point {
    SInt16 v;
    SInt16 h;
} Point;

typedef struct Rect {
    SInt16 top;
    SInt16 left;
    SInt16 bottom;
    SInt16 right;
} Rect;

typedef struct RGBColor {
    UInt16 red;
    UInt16 green;
    UInt16 blue;
} RGBColor;

typedef struct FontInfo {
    SInt16 ascent;
    SInt16 descent;
    SInt16 widMax;
    SInt16 leading;
} FontInfo;

typedef unsigned char Style;  // bold 1, italic 2, underline 4, ...
enum { normal = 0, bold = 1, italic = 2, underline = 4, outline = 8, shadow = 16 };
enum { systemFont = 0, applFont = 1 };
enum { teFlushDefault = 0, teCenter = 1, teFlushRight = -1, teFlushLeft = -2 };

typedef struct OpaqueGrafPtr* GrafPtr;
typedef GrafPtr CGrafPtr;
typedef struct OpaqueRgnHandle* RgnHandle;

// --- Rectangle arithmetic ------------------------------------------------------------------------
void SetRect(Rect* r, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
void OffsetRect(Rect* r, SInt16 dh, SInt16 dv);
// Moves every side inwards by dh and dv (outwards for negative values); a rectangle that becomes
// empty is set to (0,0,0,0).
void InsetRect(Rect* r, SInt16 dh, SInt16 dv);
// The intersection in *dst (which may be one of the sources); false and an all-zero rectangle when
// the two do not overlap.
Boolean SectRect(const Rect* a, const Rect* b, Rect* dst);
// True when the point lies inside: top and left edges included, bottom and right excluded.
Boolean PtInRect(Point pt, const Rect* r);
// True when the rectangle encloses no pixel (bottom <= top or right <= left).
Boolean EmptyRect(const Rect* r);
Boolean EqualRect(const Rect* a, const Rect* b);

// --- Ports ---------------------------------------------------------------------------------------
// The current port; drawing calls draw into it. SetPort(NULL) leaves no current port.
void SetPort(GrafPtr port);
void GetPort(GrafPtr* port);

// --- Pen and text state of the current port
// ---------------------------------------------------------
void RGBForeColor(const RGBColor* color);
void GetForeColor(RGBColor* color);  // black when there is no port
void TextFont(SInt16 font);
void TextSize(SInt16 size);
void TextFace(Style face);
// The metrics of the current port's font and size (those of size 12 without a port).
void GetFontInfo(FontInfo* info);
// Width of `byteCount` bytes of `textBuf` from `firstByte` on, in the current port's size.
SInt16 TextWidth(const void* textBuf, SInt16 firstByte, SInt16 byteCount);

// Replaces the metrics of one font id at one size (size 0 is the same as 12); a null `info` removes
// the replacement. Meant for tests of layouts that depend on the line height.
void HalyxOverrideFontInfo(SInt16 font, SInt16 size, const FontInfo* info);
void HalyxResetFontInfo(void);
// The metrics any port would report for `font` at `size`.
void HalyxGetFontInfoFor(SInt16 font, SInt16 size, FontInfo* info);

// --- Drawing (recorded)
// ------------------------------------------------------------------------------
void EraseRect(const Rect* r);
void FrameRect(const Rect* r);
// Text drawn wrapped inside `box`; `length` bytes of system-encoded text.
void TETextBox(const void* text, long length, const Rect* box, SInt16 just);

// --- Clipping
// ---------------------------------------------------------------------------------------- Regions
// here are rectangles, which is all the system's drawing needs. NewRgn gives an empty region (NULL
// when memory runs out); the caller disposes it.
RgnHandle NewRgn(void);
void DisposeRgn(RgnHandle rgn);
void RectRgn(RgnHandle rgn, const Rect* r);
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);
// The current port's clip: copied into `rgn`, replaced by `rgn`, or replaced by a rectangle. A
// fresh port clips to nothing (its clip is the whole coordinate plane).
void GetClip(RgnHandle rgn);
void SetClip(RgnHandle rgn);
void ClipRect(const Rect* r);

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_HITOOLBOX_QUICKDRAW_H
